#pragma once
// The port names of a Windows machine: COM1 to COM8 (and the names that begin
// with them, COM12 too) as the system has them.

#include <windows.h>

#include <string>
#include <vector>

// The Win32 calls that listing makes, as a table, so that tests can stand in
// for the system with devices and failures of their own.
struct PortListingCalls {
    BOOL(WINAPI* GetVersionExA)(LPOSVERSIONINFOA);
    DWORD(WINAPI* QueryDosDeviceA)(LPCSTR, LPSTR, DWORD);
    HANDLE(WINAPI* CreateFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* CloseHandle)(HANDLE);
    DWORD(WINAPI* GetLastError)();
};

// The system's own calls.
const PortListingCalls& SystemPortListingCalls();

// On the NT family, the names of the system's device list that pass the port
// name filter, in the system's order; no list, no names. On the other family,
// COM1 to COM8 each tried by opening it: listed when it opens or is refused
// with error 5 (in use) or 31 (present but failing).
std::vector<std::string> ListComPorts(const PortListingCalls& calls);
