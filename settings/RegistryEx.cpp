// settings/RegistryEx.cpp - the registry wrapper.
#include "settings/RegistryEx.h"

using namespace platform;

CRegistryEx::CRegistryEx(const std::string& company, const std::string& product, bool loading)
    : company_(company), product_(product), loading_(loading) {
    RegKey software = nullptr;
    if (OpenRegKey(RegHive::CurrentUser, "software", RegAccess::ReadWrite, &software) == kRegOk) {
        RegKey companyKey = nullptr;
        if (CreateRegKey(software, company_, &companyKey) == kRegOk) {
            CreateRegKey(companyKey, product_, &productKey_);
            CloseRegKey(companyKey);
        }
        CloseRegKey(software);
    }
    sectionKey_ = productKey_;
}

CRegistryEx::~CRegistryEx() {
    if (written_ && productKey_)
        FlushRegKey(productKey_);
    if (sectionKey_ != productKey_)
        CloseRegKey(sectionKey_);
    CloseRegKey(productKey_);
}

void CRegistryEx::SetLoading(bool loading) {
    loading_ = loading;
}

void CRegistryEx::OpenSection(const std::string& name) {
    if (sectionKey_ != productKey_)
        CloseRegKey(sectionKey_);
    sectionKey_ = productKey_;
    section_ = name;
    RegKey section = nullptr;
    if (productKey_ && CreateRegKey(productKey_, name, &section) == kRegOk)
        sectionKey_ = section;
}

long CRegistryEx::ExchangeString(const std::string& valueName, std::string& text) {
    if (!sectionKey_)
        return kRegInvalidHandle;
    if (loading_) {
        uint32_t type = kRegNone;
        std::string data;
        long result = QueryRegValue(sectionKey_, valueName, &type, &data);
        if (result != kRegOk)
            return result;
        if (type == kRegSz)
            text = data.substr(0, data.find('\0'));
        return result;
    }
    written_ = true;
    return SetRegString(sectionKey_, valueName, std::string(text.c_str()));
}

long CRegistryEx::ExchangeFlag(const std::string& valueName, bool& flag) {
    std::string text = flag ? "1" : "0";
    long result = ExchangeString(valueName, text);
    flag = text == "1";
    return result;
}

long CRegistryEx::ExchangeDefaultString(const std::string& valueName, const std::string& text) {
    std::string temporary = text;
    return ExchangeString(valueName, temporary);
}

long CRegistryEx::ExchangeDefaultFlag(const std::string& valueName, bool flag) {
    bool temporary = flag;
    return ExchangeFlag(valueName, temporary);
}

void CRegistryEx::EnumValueNames(std::vector<std::string>& names) {
    if (!sectionKey_)
        return;
    for (uint32_t index = 0;; ++index) {
        std::string name;
        long result = EnumRegValueName(sectionKey_, index, &name);
        if (result == kRegNoMoreItems || result != kRegOk)
            break;
        // A longer name does not fit the buffer Windows is asked with; it is passed over
        // there, and here alike.
        if (name.size() <= kMaxEnumeratedName)
            names.push_back(name);
    }
}

void CRegistryEx::DeleteAllValues() {
    if (!sectionKey_)
        return;
    written_ = true;
    DeleteAllRegValues(sectionKey_);
}
