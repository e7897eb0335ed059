// Host versions seeded into the registry key the installer reads (HKLM "SOFTWARE\Adobe\After Effects"),
// each with its plug-in folder; removed again afterwards, so that the registry is left as it was found:
// version keys that existed get their value back, keys made here are deleted.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

class SeededHosts {
public:
    static constexpr const wchar_t* adobe_key = L"SOFTWARE\\Adobe";
    static constexpr const wchar_t* hosts_key = L"SOFTWARE\\Adobe\\After Effects";
    static constexpr const wchar_t* value_name = L"PluginInstallPath";

    SeededHosts() {
        made_adobe_ = !key_exists(adobe_key);
        made_hosts_ = !key_exists(hosts_key);
    }
    ~SeededHosts() {
        for (auto it = seeded_.rbegin(); it != seeded_.rend(); ++it) restore(*it);
        if (made_hosts_) RegDeleteKeyW(HKEY_LOCAL_MACHINE, hosts_key);
        if (made_adobe_) RegDeleteKeyW(HKEY_LOCAL_MACHINE, adobe_key);
    }
    SeededHosts(const SeededHosts&) = delete;
    SeededHosts& operator=(const SeededHosts&) = delete;

    bool add(const std::wstring& version, const std::wstring& folder) {
        const std::wstring key = std::wstring(hosts_key) + L"\\" + version;
        seeded s{key, !key_exists(key.c_str()), read_value(key)};
        HKEY opened = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) !=
            ERROR_SUCCESS)
            return false;
        seeded_.push_back(std::move(s));
        const DWORD bytes = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
        const bool set = RegSetValueExW(opened, value_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                                        bytes) == ERROR_SUCCESS;
        RegCloseKey(opened);
        return set;
    }

    static bool key_exists(const wchar_t* key) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        RegCloseKey(opened);
        return true;
    }

private:
    struct seeded {
        std::wstring key;
        bool made;
        std::optional<std::wstring> old_value;
    };

    static std::optional<std::wstring> read_value(const std::wstring& key) {
        wchar_t buffer[1024];
        DWORD bytes = sizeof buffer;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value_name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(buffer);
    }

    static void restore(const seeded& s) {
        if (s.made) {
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, s.key.c_str());
            return;
        }
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, s.key.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return;
        if (s.old_value)
            RegSetValueExW(opened, value_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(s.old_value->c_str()),
                           static_cast<DWORD>((s.old_value->size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(opened, value_name);
        RegCloseKey(opened);
    }

    bool made_adobe_ = false;
    bool made_hosts_ = false;
    std::vector<seeded> seeded_;
};
