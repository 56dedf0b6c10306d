// The services the application and the skinning engine rely on: texts and
// byte strings, counted arrays, the window built from its design, message
// boxes, list boxes, characters, pinyin, files, processes, time, colours and
// the fatal error report. Everything here runs over plain Win32.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rt {

// ---------------------------------------------------------------- texts ----
// A text in the ANSI code page (GBK): bytes, no NUL inside.
using AnsiText = std::string;
// A counted byte value (pictures, carried files).
using ByteString = std::vector<unsigned char>;

// Stops the program with a clear report (message box when a desktop is there,
// stderr always). Used for out-of-range array indices and wrong unit types.
[[noreturn]] void ErrorReport(const char* what);

// A 1-based array whose every access is range-checked; an index out of range
// goes to ErrorReport instead of reading past memory.
template <class T>
class CountedArray {
public:
    CountedArray() = default;
    explicit CountedArray(std::size_t n) : items_(n) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    T& operator[](int i) { Check(i); return items_[static_cast<std::size_t>(i - 1)]; }
    const T& operator[](int i) const { Check(i); return items_[static_cast<std::size_t>(i - 1)]; }

    void Append(const T& v) { items_.push_back(v); }
    void Append(T&& v) { items_.push_back(std::move(v)); }
    void RemoveAt(int i) { Check(i); items_.erase(items_.begin() + (i - 1)); }
    void Clear() { items_.clear(); }
    void Resize(int n) { items_.resize(n < 0 ? 0 : static_cast<std::size_t>(n)); }

    typename std::vector<T>::iterator begin() { return items_.begin(); }
    typename std::vector<T>::iterator end() { return items_.end(); }
    typename std::vector<T>::const_iterator begin() const { return items_.begin(); }
    typename std::vector<T>::const_iterator end() const { return items_.end(); }

private:
    void Check(int i) const {
        if (i < 1 || i > Count()) ErrorReport("array index out of range");
    }
    std::vector<T> items_;
};

// GBK: a lead byte 0x81..0xFE and the byte after it form one character.
inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Number of characters of a text, a double-byte character counting one; a
// lone lead byte at the very end counts as one character.
int CharCount(const AnsiText& text);
// The i-th character (i from 1), one or two bytes; "" when i is out of range.
AnsiText CharAt(const AnsiText& text, int i);
// Byte offset of the last occurrence of byte c that is not the trail byte of
// a double-byte character; npos when none.
std::size_t FindLastByte(const AnsiText& text, char c);
// Splits at every occurrence of sep (never inside a double-byte character).
// The empty text gives no pieces.
std::vector<AnsiText> SplitText(const AnsiText& text, const AnsiText& sep);

// Between the ANSI code page and UTF-16, exactly the bytes or units given
// (NULs included, so a NUL-separated list converts whole). A character that
// the code page has no code for becomes "?", never a best-fit look-alike:
// "²" as "2" or "¦" as "|" would name another file, which may exist, while
// no file name holds "?", so a path with one is known not to be whole.
std::wstring Utf16Of(const AnsiText& text);
AnsiText AnsiOfUtf16(const wchar_t* wide, std::size_t length);

// The pinyin of one character (first reading, lower case, no tone marks, ü as
// v), or "" when the character has no reading.
AnsiText PinyinOf(const AnsiText& ch);

// ------------------------------------------------------------ numbers ------
// Nearest integer; halves round away from zero.
int Round(double v);

// ------------------------------------------------------------ files --------
// Renames old to new; never replaces an existing file. Returns true on
// success; on failure GetLastError() tells why (the rename is the last call).
bool RenameFile(const AnsiText& oldPath, const AnsiText& newPath);
// 0 when the path does not exist.
int FileExists(const AnsiText& path);
// Paths with equal keys are one name to Windows, which takes names that
// differ only in letter case (Latin, full-width, Greek...) for one: the key
// is the path in UTF-16, upper-cased. Whether two names are one file is
// the disk's to say (FileIdentity): on a case-sensitive file system (Wine's
// on Linux, a Windows folder with case sensitivity turned on) "Ab" and "aB"
// can be two files side by side.
std::wstring FileNameKey(const AnsiText& path);
// Which file a path names: equal identities are one file, under whatever
// names, letter case or short names it is reached. Costly under Wine (it
// asks for the volume's serial number each time): read it where names
// leave the question open.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0, indexLow = 0;
    bool operator<(const FileIdentity& o) const;
};
// False when nothing can be opened at the path (missing, or no name).
bool IdentifyFile(const AnsiText& path, FileIdentity* identity);
// True when a folder is at the path.
bool IsFolder(const AnsiText& path);
// True when a file or folder at any depth inside the folder at path would
// have a full path of `limit` UTF-16 units or more if the folder's own path
// were `asLength` units long. False for a file. Reparse points (links) are
// counted but not entered, so a link to a parent cannot loop.
bool PathInsideReaches(const AnsiText& folder, int asLength, int limit);
// The length in UTF-16 units: Windows counts MAX_PATH, and the 255
// characters of one name, in these (after an ANSI call converts its text),
// not in GBK bytes.
int Utf16Length(const AnsiText& text);
// Writes exactly these bytes (the file is created or truncated).
bool WriteFileBytes(const AnsiText& path, const ByteString& bytes);
// The whole file, or empty when it cannot be read.
ByteString ReadFileBytes(const AnsiText& path);

// ------------------------------------------------------------ processes ----
// Starts a command line. wait: wait for it to end. showMode: 1 hidden, any
// other value (or none) shown normally. Returns false when it could not start.
// The program is looked for as Windows does, the current folder before the
// system's: name it by its full path.
bool Run(const AnsiText& commandLine, bool wait, int showMode = -1);
// Starts the program at that full path, nothing searched (a program of the
// same name in the current folder is never taken), with the command line
// "<quoted path> <arguments>". wait and showMode as Run.
bool RunProgramFile(const AnsiText& program, const AnsiText& arguments, bool wait, int showMode = -1);
// The Windows folder ("C:\Windows"), no trailing "\".
AnsiText WindowsFolder();
// The value of an environment variable, "" when it is not set.
AnsiText Environment(const AnsiText& name);
// True when the variable is set (even to the empty text).
bool HasEnvironment(const AnsiText& name);

// ------------------------------------------------------------ time, chance -
// Now as a number: days since 1899-12-30 with the time of day as fraction.
double Now();
void Seed(int32_t seed);
// A random integer in [low, high], both ends included.
int Random(int low, int high);

// ------------------------------------------------------------ colours ------
// The default colour of the runtime's units (the window face colour).
COLORREF DefaultColour();
// A colour derived from c that reads well over it (its contrast colour).
COLORREF DerivedColour(COLORREF c);

// ------------------------------------------------------------ screen -------
int ScreenWidth();
int ScreenHeight();

// ------------------------------------------------------------ dialogs ------
// A modal message box with the text and an OK button, kept above other
// windows until it is answered. Its title is the owner's (by default the
// main window's) title, empty without one.
void MessageBoxText(const AnsiText& text, HWND owner = nullptr);

// ------------------------------------------------------------ list box -----
// Adds the text as the last item; a box with a horizontal scroll bar can
// then be scrolled far enough to show all of it.
void ListBoxAdd(HWND box, const AnsiText& text);
// Removes every item (and the room to scroll sideways).
void ListBoxClear(HWND box);
int ListBoxCount(HWND box);
AnsiText ListBoxItem(HWND box, int index0);

// ------------------------------------------------------------ units --------
// Every unit the runtime built (windows and the controls of their designs)
// has a unit id above 0. Type names are the design's GBK kind names:
// "窗口", "按钮", "列表框", "透明标签", "拖放对象", "分组框", "标签",
// "图片框", "画板", "选择夹", "外形框".
HWND UnitWindow(int unitId);                 // 0 for an id that names no unit
AnsiText UnitTypeName(int unitId);           // ErrorReport for an unknown id
// The units of that type inside the given window, in creation order.
std::vector<int> UnitsOfType(HWND window, const AnsiText& typeName);


// ------------------------------------------------------------ design -------
// The kinds of unit a window design holds. Each has its design kind name
// (KindTypeName), which is what UnitsOfType and UnitTypeName speak.
enum class UnitKind {
    Window,            // "窗口": a top-level window, always the first unit
    PushButton,        // "按钮"
    ListBox,           // "列表框"
    TransparentLabel,  // "透明标签": our own label with a see-through background
    DropTarget,        // "拖放对象": no window; receives files dropped (OLE)
    GroupBox,          // "分组框"
    Label,             // "标签"
    PictureBox,        // "图片框"
    DrawingBoard,      // "画板"
    TabControl,        // "选择夹"
    ShapeBox,          // "外形框"
};
AnsiText KindTypeName(UnitKind kind);

// Event handlers of a unit; an empty std::function means "no handler".
struct UnitEvents {
    // Windows only: runs once the window and all its units exist, while the
    // window is still hidden; the window is shown after it returns.
    std::function<void()> created;
    // Push buttons: BN_CLICKED.
    std::function<void()> clicked;
    // Windows, buttons, list boxes, labels: WM_MOUSEMOVE as three 32-bit
    // values (key state flags, x, y in the unit's client coordinates).
    std::function<void(int32_t, int32_t, int32_t)> mouseMoved;
    // Drop-target objects: the dropped paths as one text, CR LF between them.
    std::function<void(AnsiText&)> filesDropped;
};

struct UnitDesign {
    AnsiText name;     // the design name, unique within its window
    UnitKind kind;
    int left, top;     // windows: on the screen; units: in the client area
    int width, height; // windows: the whole window (it has no non-client area)
    bool visible;      // visible at start (a window: shown after `created`)
    AnsiText text;     // caption or label text (GBK); windows: the title
    UnitEvents events;
};
// A window's design: the window itself first, then its units in creation
// order (which is also their z-order, the first unit on top).
using WindowDesign = std::vector<UnitDesign>;

// Builds a window from its design: creates it hidden with every unit, runs
// its created handler, then shows it when the design says so. Returns the
// window's unit id. The window is a borderless popup (window rect = client
// rect) with WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX.
int BuildWindow(const WindowDesign& design);
// Destroys a window built by BuildWindow; its units' ids then name no unit.
void DestroyBuiltWindow(int windowUnit);

// The unit id of the unit with that design name (the most recently built
// window first); ErrorReport when no live unit has that name.
int UnitId(const AnsiText& name);
AnsiText UnitName(int unitId);
UnitKind UnitKindOf(int unitId);             // ErrorReport for an unknown id
// Stops the program with ErrorReport unless the unit is of that kind.
void RequireUnitKind(int unitId, UnitKind kind);
// 1 shown, 0 hidden (windows and units that have a window).
void SetUnitVisible(int unitId, int visible);
bool UnitVisible(int unitId);
// Unit property 11 of a drop-target object: 1 delivers drops, 0 refuses
// them (the cursor shows "no drop"). Other properties are ErrorReport.
void SetUnitProperty(int unitId, int property, int value);

// The window command: sets the window's icon from the bytes of an ICO file
// (its first image; unreadable bytes leave the icon as it was) and its title.
// Returns false when the icon could not be made.
bool WindowCommand(int windowUnit, const ByteString& icoBytes, const AnsiText& title);

// Registers a window with OLE drag and drop (RegisterDragDrop and an
// IDropTarget reading CF_HDROP); a drop anywhere on it raises the
// filesDropped event of the drop-target unit, while its property 11 is 1.
// The registration lasts until the window is destroyed. Returns false when
// OLE refused it: the window then accepts no drops.
bool RegisterDropTarget(int dropUnit, HWND window);

// ------------------------------------------------------------ program ------
// Start-up order of the program: module start routines (in registration
// order), then the main window is built from its design and shown, then the
// message loop runs until the main window is destroyed, then the end routines
// run (in registration order). A start routine returns 0 to go on; any other
// value stops the start-up: no window is built, the end routines still run
// and RunProgram returns that value. Registration may happen at any time
// before RunProgram, also from static initialisers.
void RegisterModuleStart(int (*fn)());
// An end routine runs once per RunProgram: registering one again moves it
// to the end of the order. So a program can state its whole shut-down order
// in main, even for routines that a library registered during the global
// start-up (whose order C++ does not fix).
void RegisterEndRoutine(void (*fn)());
// The end routines in the order they will run.
std::vector<void (*)()> EndRoutineOrder();
// Runs the program with that main window design; returns the exit code.
int RunProgram(const WindowDesign& mainWindow);
// The main window's unit id (0 before RunProgram built it).
int MainWindowUnit();

}  // namespace rt
