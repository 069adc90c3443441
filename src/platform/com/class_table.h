#pragma once
// The class table: ProgIDs to class identifiers, and class identifiers to the
// factories that create their objects, whether registered by the process at
// run time or served by a component library declared in a registration file.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "unknown.h"

#ifndef _WIN32
using LPCLSID = CLSID*;
using LPVOID = void*;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

constexpr DWORD REGCLS_SINGLEUSE = 0;
constexpr DWORD REGCLS_MULTIPLEUSE = 1;

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
// The text is allocated with CoTaskMemAlloc; the caller frees it.
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID);
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved, REFIID riid, LPVOID* ppv);
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
// `pUnk` must answer IClassFactory. The latest registration of a class wins
// over earlier ones and over registration files.
HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD dwClsContext, DWORD flags,
                              DWORD* lpdwRegister);
HRESULT CoRevokeClassObject(DWORD dwRegister);

void* CoTaskMemAlloc(std::size_t cb);
void CoTaskMemFree(void* pv);
#endif // _WIN32

namespace zorv::com {

// How the program finds and creates the classes it names: on Windows the
// system's registry, then the registration files; elsewhere the class table.
HRESULT FindClass(std::u16string_view progId, CLSID* clsid);
HRESULT CreateInstance(REFCLSID clsid, DWORD context, REFIID riid, void** ppv);
// The ProgID under which the program asks for a class of its own (the script
// control, the object registry): on Windows our own "ZORV." name, since the
// system may have a class of its own under the standard one.
std::u16string OwnClass(std::u16string_view standardProgId);

// Run-time ProgIDs, which take precedence over the registration files; tests
// use them to stand a class of their own in for a component.
HRESULT RegisterProgID(std::u16string_view progId, const CLSID& clsid);
HRESULT UnregisterProgID(std::u16string_view progId);
// A hidden ProgID does not resolve, as if its component were not installed.
void SetProgIDHidden(std::u16string_view progId, bool hidden);

// Reads every registration file (*.classes) of a folder and loads the
// libraries they name. Files, lines or libraries that are wrong leave their
// classes out and are explained by ComponentDiagnostics. A ProgID or class
// identifier that two files of the folder declare is served by neither, and
// one that an earlier folder serves is not taken again. Only regular files of
// a bounded size are read. Answers the number of classes added. A folder is
// read once per process.
std::size_t LoadComponentFolder(const std::string& folder);
// Where the apartment looks when it is first entered; by default the
// "components" folder beside the executable. Empty: no folder.
void SetDefaultComponentFolder(std::string folder);
std::string DefaultComponentFolder();
// Every problem met while reading the folders, in French.
std::vector<std::string> ComponentDiagnostics();

struct LoadedComponent {
    std::string file; // the registration file's name
    std::string library;
    std::vector<std::u16string> progIds;
};
struct ComponentFolderReport {
    std::string folder;
    std::vector<LoadedComponent> components;
    std::vector<std::string> problems;
};
// The folders read so far, in order, with what each served and what went wrong.
std::vector<ComponentFolderReport> ComponentFolderReports();
// Why a ProgID that a registration file declares is not served (its library
// is missing, another file declares it too...), if that is known.
std::optional<std::string> WhyProgIDUnavailable(std::u16string_view progId);

std::string ExecutableFolder();

} // namespace zorv::com
