// ui/framework/TextUtil.h - small text helpers of the dialog layer: letter case folded as
// list controls fold it (ASCII letters), trimming, splitting.
#pragma once

#include <string>
#include <vector>

namespace uifw {

int CompareNoCase(const std::string& a, const std::string& b);
bool EqualsNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
std::string Trim(const std::string& text);
// Splits at every separator; an empty text gives no parts.
std::vector<std::string> Split(const std::string& text, char separator);
// The text without the '&' marks of keyboard shortcuts ("&&" stays one '&').
std::string WithoutMnemonics(const std::string& text);

} // namespace uifw
