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
    if (!productKey_ && !loading_)
        Failed(kRegAccessDenied, "software\\" + company_ + "\\" + product_);
}

CRegistryEx::~CRegistryEx() {
    if (written_ && productKey_)
        FlushRegKey(productKey_);
    if (sectionKey_ != productKey_)
        CloseRegKey(sectionKey_);
    CloseRegKey(productKey_);
}

void CRegistryEx::Failed(long result, const std::string& what) {
    if (problem_.empty())
        problem_ = what + " (error " + std::to_string(result) + ")";
}

std::string CRegistryEx::FinishWriting() {
    if (written_ && productKey_) {
        const long result = FlushRegKey(productKey_);
        if (result != kRegOk)
            Failed(result, "the store of software\\" + company_ + "\\" + product_);
        written_ = false;
    }
    return problem_;
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
    const long result = productKey_ ? CreateRegKey(productKey_, name, &section) : kRegInvalidHandle;
    if (result == kRegOk)
        sectionKey_ = section;
    else if (!loading_)
        Failed(result, "section " + name);
}

long CRegistryEx::ExchangeString(const std::string& valueName, std::string& text) {
    if (!sectionKey_) {
        if (!loading_)
            Failed(kRegInvalidHandle, "value " + valueName);
        return kRegInvalidHandle;
    }
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
    const long result = SetRegString(sectionKey_, valueName, std::string(text.c_str()));
    if (result != kRegOk)
        Failed(result, "value " + valueName);
    return result;
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
    const long result = DeleteAllRegValues(sectionKey_);
    if (result != kRegOk)
        Failed(result, "the old values of section " + section_);
}
