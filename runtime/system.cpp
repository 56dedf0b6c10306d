// Files, processes, environment, time and chance, rounding, colours, screen
// size, list boxes and the error report, over plain Win32.
#include "runtime/runtime.h"

#include <cmath>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace rt {

// ------------------------------------------------------------ error report -
void ErrorReport(const char* what) {
    char report[512];
    std::snprintf(report, sizeof report,
                  "The program stopped because of an internal error:\r\n%s\r\n", what ? what : "?");
    std::fputs(report, stderr);
    std::fflush(stderr);
    // Test programs that provoke the report set this to keep the box away.
    if (!HasEnvironment("PINYIN_ERROR_REPORT_QUIET"))
        MessageBoxA(nullptr, report, "", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(3);
}

// ------------------------------------------------------------ numbers ------
int Round(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::round(v);  // halves away from zero
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}

// ------------------------------------------------------------ files --------
bool RenameFile(const AnsiText& oldPath, const AnsiText& newPath) {
    // No MOVEFILE_REPLACE_EXISTING: an existing target makes it fail.
    return MoveFileA(oldPath.c_str(), newPath.c_str()) != 0;
}

namespace {

// The "\\?\" form of the path's full path, which the UTF-16 calls take
// as it is, whatever its length; "" when the full path cannot be made.
std::wstring LongForm(const AnsiText& path) {
    const std::wstring wide = Utf16Of(path);
    const DWORD need = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (need == 0) return std::wstring();
    std::wstring full(need, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), need, &full[0], nullptr);
    if (got == 0 || got >= need) return std::wstring();
    full.resize(got);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
    return L"\\\\?\\" + full;
}

// The path as the UTF-16 calls reach it. The ANSI calls find nothing at
// MAX_PATH characters or more, yet such a file can be there (made by a
// program that uses the long form, or reached by renaming its folder): a
// path that long takes the long form. Shorter paths stay as they are, with
// the plain calls' handling of the name.
std::wstring ReachablePath(const AnsiText& path) {
    return Utf16Length(path) < MAX_PATH ? Utf16Of(path) : LongForm(path);
}

DWORD AttributesOf(const AnsiText& path) {
    const std::wstring reachable = ReachablePath(path);
    return reachable.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(reachable.c_str());
}

}  // namespace

int FileExists(const AnsiText& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0; }

bool FileIdentity::operator<(const FileIdentity& o) const {
    if (volume != o.volume) return volume < o.volume;
    if (indexHigh != o.indexHigh) return indexHigh < o.indexHigh;
    return indexLow < o.indexLow;
}

// The volume's serial number and the file's index on it (what Windows
// calls the file's id; under Wine the inode), read through a handle that
// asks for nothing but attributes, so a file held without sharing by a
// player opens too.
bool IdentifyFile(const AnsiText& path, FileIdentity* identity) {
    const std::wstring reachable = ReachablePath(path);
    if (reachable.empty()) return false;
    HANDLE f = CreateFileW(reachable.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);  // folders open only with this flag
    if (f == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(f, &info) != 0;
    CloseHandle(f);
    if (!ok) return false;
    identity->volume = info.dwVolumeSerialNumber;
    identity->indexHigh = info.nFileIndexHigh;
    identity->indexLow = info.nFileIndexLow;
    return true;
}

bool IsFolder(const AnsiText& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
// Depth first, stopping at the first path that reaches the limit: every
// level adds at least two units, so the walk never goes deeper than the
// limit allows.
bool InsideReaches(const std::wstring& longFolder, int length, int limit) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((longFolder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool reached = false;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const int inner = length + 1 + static_cast<int>(name.size());
        const DWORD attributes = found.dwFileAttributes;
        reached = inner >= limit ||
                  ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                   InsideReaches(longFolder + L"\\" + name, inner, limit));
    } while (!reached && FindNextFileW(search, &found));
    FindClose(search);
    return reached;
}
}  // namespace

bool PathInsideReaches(const AnsiText& folder, int asLength, int limit) {
    const std::wstring longForm = LongForm(folder);  // the walk goes past MAX_PATH
    return !longForm.empty() && InsideReaches(longForm, asLength, limit);
}

bool WriteFileBytes(const AnsiText& path, const ByteString& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

ByteString ReadFileBytes(const AnsiText& path) {
    ByteString bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    const DWORD size = GetFileSize(f, nullptr);
    if (size != INVALID_FILE_SIZE) {
        bytes.resize(size);
        DWORD read = 0;
        if (size && (!ReadFile(f, bytes.data(), size, &read, nullptr) || read != size)) bytes.clear();
    }
    CloseHandle(f);
    return bytes;
}

// ------------------------------------------------------------ processes ----
namespace {
// program: the full path of the file to start, or null to take the first
// word of the command line and look for it.
bool Start(const char* program, const AnsiText& commandLine, bool wait, int showMode) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');  // CreateProcessA may write into its command line
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (showMode == 1) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}
}  // namespace

bool Run(const AnsiText& commandLine, bool wait, int showMode) {
    return Start(nullptr, commandLine, wait, showMode);
}

// The program's own command line still begins with its name, as every
// program expects; a path holds no '"', so quoting it is enough.
bool RunProgramFile(const AnsiText& program, const AnsiText& arguments, bool wait, int showMode) {
    return Start(program.c_str(), "\"" + program + "\" " + arguments, wait, showMode);
}

AnsiText WindowsFolder() {
    char folder[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return AnsiText();
    // Only a drive root ("C:\") ends in a separator; a last byte 0x5C
    // elsewhere may be the trail byte of a character.
    return AnsiText(folder, n == 3 && folder[2] == '\\' ? 2 : n);
}

namespace {
AnsiText Ansi(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return AnsiText();
    AnsiText text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], n, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(n - 1));
    return text;
}
}  // namespace

std::wstring FileNameKey(const AnsiText& path) {
    std::wstring key = Utf16Of(path);
    if (!key.empty()) CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

int Utf16Length(const AnsiText& text) {
    return MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
}

// Through the UTF-16 call: Wine's ANSI one cuts double-byte values short.
AnsiText Environment(const AnsiText& name) {
    const std::wstring wname = Utf16Of(name);
    DWORD size = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    while (size != 0) {
        std::vector<wchar_t> value(size + 1, L'\0');
        const DWORD got = GetEnvironmentVariableW(wname.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (got < value.size()) return Ansi(value.data());
        size = got;  // it grew in between
    }
    return AnsiText();
}

bool HasEnvironment(const AnsiText& name) {
    wchar_t probe[1];
    SetLastError(ERROR_SUCCESS);
    const DWORD need = GetEnvironmentVariableW(Utf16Of(name).c_str(), probe, 0);
    return need != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

// ------------------------------------------------------------ time, chance -
double Now() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME ft;
    SystemTimeToFileTime(&local, &ft);
    const unsigned long long ticks =  // 100 ns since 1601-01-01
        (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const double daysSince1601 = static_cast<double>(ticks) / 864000000000.0;
    return daysSince1601 - 109205.0;  // 1601-01-01 .. 1899-12-30
}

namespace {
unsigned long long g_randomState = 0x853c49e6748fea9bULL;

unsigned NextRandom() {  // 64-bit LCG, the high bits as the result
    g_randomState = g_randomState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(g_randomState >> 33);
}
}  // namespace

void Seed(int32_t seed) {
    g_randomState = static_cast<unsigned long long>(static_cast<uint32_t>(seed)) * 0x9E3779B97F4A7C15ULL + 1;
    NextRandom();
}

int Random(int low, int high) {
    if (low > high) std::swap(low, high);
    const unsigned long long span = static_cast<unsigned long long>(static_cast<long long>(high) - low) + 1;
    const unsigned long long r = (static_cast<unsigned long long>(NextRandom()) << 31) ^ NextRandom();
    return static_cast<int>(low + static_cast<long long>(r % span));
}

// ------------------------------------------------------------ colours ------
COLORREF DefaultColour() { return GetSysColor(COLOR_BTNFACE); }

COLORREF DerivedColour(COLORREF c) {
    // Black over light colours, white over dark ones (perceived brightness).
    const int brightness = (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000;
    return brightness >= 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

// ------------------------------------------------------------ screen -------
int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// ------------------------------------------------------------ list box -----
namespace {
// A list box with a horizontal scroll bar scrolls sideways only as far as
// its horizontal extent says: it grows with every item wider than all before
// (in the box's own font, plus room for the item's margin). The style cannot
// tell whether the box has the bar: it loses WS_HSCROLL while the bar is
// hidden. A box without the bar ignores the extent.
void WidenForItem(HWND box, const AnsiText& text) {
    HDC dc = GetDC(box);
    if (!dc) return;
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(box, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, oldFont);
    ReleaseDC(box, dc);
    const LRESULT extent = SendMessageA(box, LB_GETHORIZONTALEXTENT, 0, 0);
    if (size.cx + 8 > extent) SendMessageA(box, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(size.cx + 8), 0);
}
}  // namespace

void ListBoxAdd(HWND box, const AnsiText& text) {
    SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    WidenForItem(box, text);
}

void ListBoxClear(HWND box) {
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    SendMessageA(box, LB_SETHORIZONTALEXTENT, 0, 0);
}

int ListBoxCount(HWND box) {
    const LRESULT n = SendMessageA(box, LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

AnsiText ListBoxItem(HWND box, int index0) {
    const LRESULT len = SendMessageA(box, LB_GETTEXTLEN, static_cast<WPARAM>(index0), 0);
    if (len < 0) return AnsiText();
    std::vector<char> buf(static_cast<std::size_t>(len) + 1);
    const LRESULT got = SendMessageA(box, LB_GETTEXT, static_cast<WPARAM>(index0),
                                     reinterpret_cast<LPARAM>(buf.data()));
    return got < 0 ? AnsiText() : AnsiText(buf.data(), static_cast<std::size_t>(got));
}

}  // namespace rt
