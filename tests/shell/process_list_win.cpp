#include "process_list_win.h"

#include <tlhelp32.h>

#include "base/win/handles.h"

namespace {

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

std::wstring ImagePath(DWORD id) {
    Base::UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) {
        return std::wstring();
    }
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!::QueryFullProcessImageNameW(process.Get(), 0, path, &size)) {
        return std::wstring();
    }
    return std::wstring(path, size);
}

}  // namespace

std::vector<ProcessImage> ProcessesUnder(const std::wstring& folder) {
    std::vector<ProcessImage> found;
    Base::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        std::wstring path = ImagePath(entry.th32ProcessID);
        if (StartsWithIgnoringCase(path, folder)) {
            found.push_back({entry.th32ProcessID, std::move(path)});
        }
    }
    return found;
}

void EndProcessesUnder(const std::wstring& folder) {
    for (const ProcessImage& image : ProcessesUnder(folder)) {
        Base::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, image.id));
        if (process) {
            ::TerminateProcess(process.Get(), 1);
            ::WaitForSingleObject(process.Get(), 5000);
        }
    }
}
