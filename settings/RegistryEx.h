// settings/RegistryEx.h - the provider's registry wrapper, the store behind the settings.
//
// The settings folder holds the user's preferences (CSccSettings) and this wrapper, which
// keeps them in the current user's registry (on POSIX, the registry files of
// platform/Registry.h). It knows nothing of CVS.
//
// A CRegistryEx opens (creating when missing) HKEY_CURRENT_USER\software\<company>\<product>,
// lets the caller switch between sections (subkeys of that key) and exchanges values in one
// direction chosen by the caller: reading replaces the caller's value with the one found,
// writing stores the caller's value. One list of exchange calls therefore both loads and
// saves a set of values. All values are REG_SZ; flags are the texts "1" and "0".
//
// Nothing is shown: when the product key cannot be opened, reads fail (the caller's values
// stay) and writes fail; the registry's result codes are returned, and WriteProblem tells
// the writer afterwards what did not reach the store.
#pragma once

#include "platform/Registry.h"

#include <string>
#include <vector>

class CRegistryEx {
public:
    // Longest value name EnumValueNames reports, as its 255-byte buffer on Windows allows.
    static constexpr size_t kMaxEnumeratedName = 254;

    CRegistryEx(const std::string& company, const std::string& product, bool loading);
    // Flushes the product key when anything was written, then closes the keys.
    virtual ~CRegistryEx();
    CRegistryEx(const CRegistryEx&) = delete;
    CRegistryEx& operator=(const CRegistryEx&) = delete;

    void SetLoading(bool loading);
    bool IsLoading() const { return loading_; }

    // Opens or creates the subkey of the product key; when that fails, values go to the
    // product key itself.
    void OpenSection(const std::string& name);
    const std::string& GetSectionName() const { return section_; }

    // Reading: the text becomes the value when it is stored as REG_SZ (cut at its first
    // NUL); a value of another type leaves the text and still returns success. Writing:
    // stores the text and its NUL as REG_SZ.
    long ExchangeString(const std::string& valueName, std::string& text);
    // "1" for true, "0" for false; afterwards the flag is true exactly when the text is
    // "1" (a failed read leaves it as it was).
    long ExchangeFlag(const std::string& valueName, bool& flag);
    // The same on a temporary: used to write first-run values.
    long ExchangeDefaultString(const std::string& valueName, const std::string& text);
    long ExchangeDefaultFlag(const std::string& valueName, bool flag);

    // Appends the names of the section's values in the registry's enumeration order.
    void EnumValueNames(std::vector<std::string>& names);
    void DeleteAllValues();

    bool IsProductKeyOpen() const { return productKey_ != nullptr; }

    // Flushes what was written; then the first write that failed (a key that could not be
    // opened or made, a value not set, the store not written), or empty when all landed.
    std::string FinishWriting();

private:
    platform::RegKey productKey_ = nullptr;
    platform::RegKey sectionKey_ = nullptr; // the product key itself when no section opened
    std::string company_;
    std::string product_;
    std::string section_;
    bool loading_;
    bool written_ = false;
    std::string problem_; // the first write that failed
    void Failed(long result, const std::string& what);
};
