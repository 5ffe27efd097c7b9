#include "probes.h"

#include <windows.h>
#include <lm.h>
#include <shellapi.h>

#include "unique_handle.h"
#include "unique_netapi_buffer.h"

namespace {

// S-1-5-32-544, the built-in Administrators group, whatever the system calls it.
UniqueSid administratorsSid() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, administrators.put())) {
        return UniqueSid();
    }
    return administrators;
}

}  // namespace

void administratorsGroupName(wchar_t (&name)[kAccountNameUnits]) {
    copyText(name, kAccountNameUnits, L"Administrators");
    UniqueSid administrators = administratorsSid();
    if (!administrators) return;
    wchar_t found[kAccountNameUnits];
    DWORD foundUnits = kAccountNameUnits;
    wchar_t domain[kAccountNameUnits];
    DWORD domainUnits = kAccountNameUnits;
    SID_NAME_USE use;
    // The name alone ("Administratoren"): the group scan takes no "BUILTIN\" before it.
    if (LookupAccountSidW(nullptr, administrators.get(), found, &foundUnits, domain, &domainUnits, &use)) {
        copyText(name, kAccountNameUnits, found);
    }
}

int adminNameMatches() {
    wchar_t user[1000];
    DWORD userLength = 1000;
    if (!GetUserNameW(user, &userLength)) return 0;

    wchar_t group[kAccountNameUnits];
    administratorsGroupName(group);
    UniqueNetApiBuffer buffer;  // freed on every path, whatever the call reports
    DWORD entriesRead = 0;
    DWORD totalEntries = 0;
    NET_API_STATUS status = NetLocalGroupGetMembers(nullptr, group, 1, buffer.put(), MAX_PREFERRED_LENGTH,
                                                    &entriesRead, &totalEntries, nullptr);
    // A stub may report success without a buffer; that counts nothing.
    if (status != NERR_Success || !buffer) return 0;
    const auto* members = reinterpret_cast<const LOCALGROUP_MEMBERS_INFO_1*>(buffer.get());
    return countNameMatches(user, members, entriesRead,
                            [](const LOCALGROUP_MEMBERS_INFO_1& member) { return member.lgrmi1_name; });
}

bool tokenIsElevated() {
    UniqueSid administrators = administratorsSid();
    if (!administrators) return false;
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators.get(), &member)) return false;
    return member != FALSE;
}

bool isModernWindows() {
    static bool modern = false;
    static bool productInfoProbed = false;
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExW(&version) && version.dwMajorVersion >= 6) {
        modern = true;
    } else if (!productInfoProbed) {
        productInfoProbed = true;
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        if (kernel != nullptr && GetProcAddress(kernel, "GetProductInfo") != nullptr) modern = true;
    }
    return modern;
}

void relaunchElevated(const wchar_t* parameters) {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;  // a cut path would start something else
    // Declined or failed: the launcher ends either way and has nothing to report.
    startElevated(self, parameters);
}

bool startElevated(const wchar_t* program, const wchar_t* parameters) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.lpVerb = L"runas";
    info.lpFile = program;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}
