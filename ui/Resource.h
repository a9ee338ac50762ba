// ui/Resource.h - the ids of the dialogs of ui/ and of their controls.
//
// The user-interface dialogs: the comment, connect, module, options, properties, history,
// diff, tag, settings and login dialogs, each a plain class on the dialog layer
// (ui/framework). Ids are the dialog resources and control ids a Win32 host realises, so
// they are unique across the module: each dialog takes a block of its own.
#pragma once

namespace ui_ids {

// The repository login dialog (CDlgPassword): 10100 to 10109.
constexpr int kIddPassword = 10100;
constexpr int kIdcPasswordCredentials = 10101;
constexpr int kIdcPasswordCvsRoot = 10102;
constexpr int kIdcPasswordPassword = 10103;

} // namespace ui_ids
