// A fresh folder under %TEMP% for a test, removed with everything in it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "runtime/runtime.h"

namespace testfs {

inline std::string MakeTempFolder(const std::string& tag) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string dir = std::string(tmp) + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                            std::to_string(GetTickCount()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

inline void RemoveTree(const std::string& dir) {
    std::string from = dir;
    if (!from.empty() && from.back() == '\\') from.pop_back();
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

inline void WriteText(const std::string& path, const std::string& text) {
    rt::WriteFileBytes(path, rt::ByteString(text.begin(), text.end()));
}

inline std::string ReadText(const std::string& path) {
    const rt::ByteString b = rt::ReadFileBytes(path);
    return std::string(b.begin(), b.end());
}

// For names that the ANSI code page cannot hold: the path in UTF-16.
inline bool WriteTextW(const std::wstring& path, const std::string& text) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == text.size();
}

// The whole file, or "" when it cannot be opened.
inline std::string ReadTextW(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    CloseHandle(f);
    return text;
}

}  // namespace testfs
