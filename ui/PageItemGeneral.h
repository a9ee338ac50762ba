// ui/PageItemGeneral.h - the "General" page of the item-properties sheet: what the working
// copy knows of one file, read from the file system and the CVS administrative files
// without running cvs.
//
// Every value is a read-only text. A file that CVS/Entries does not list shows "N/A" for
// its CVSROOT, base revision, module, status, tag and encoding; a size or a time that cannot
// be read shows "N/A" too. Text-only hosts show the values (the prompt names are the
// labels' words: "filename", "cvsroot", ...) and ask nothing.
#pragma once

#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <cstdint>
#include <string>

class CPageItemGeneral : public uifw::CPropertyPage {
public:
    static constexpr int kIdd = ui_ids::kIddItemGeneral;
    static constexpr uifw::ControlId kIdcFileName = ui_ids::kIdcItemFileName;
    static constexpr uifw::ControlId kIdcCvsRoot = ui_ids::kIdcItemCvsRoot;
    static constexpr uifw::ControlId kIdcModule = ui_ids::kIdcItemModule;
    static constexpr uifw::ControlId kIdcSize = ui_ids::kIdcItemSize;
    static constexpr uifw::ControlId kIdcBaseRevision = ui_ids::kIdcItemBaseRevision;
    static constexpr uifw::ControlId kIdcTag = ui_ids::kIdcItemTag;
    static constexpr uifw::ControlId kIdcEncoding = ui_ids::kIdcItemEncoding;
    static constexpr uifw::ControlId kIdcStatus = ui_ids::kIdcItemStatus;
    static constexpr uifw::ControlId kIdcLocation = ui_ids::kIdcItemLocation;
    static constexpr uifw::ControlId kIdcCreated = ui_ids::kIdcItemCreated;
    static constexpr uifw::ControlId kIdcModified = ui_ids::kIdcItemModified;
    static constexpr uifw::ControlId kIdcAccessed = ui_ids::kIdcItemAccessed;

    // path: the file's full path, normalised.
    explicit CPageItemGeneral(std::string path);

    // A time as the page shows it: "%A, %B %d, %Y %I:%M:%S %p" of the local time, in
    // English ("Tuesday, February 29, 2000 01:05:09 PM").
    static std::string FormatTime(int64_t unixSeconds);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;

private:
    void ReadFacts();

    std::string path_;
    std::string fileName_, location_, module_, cvsRoot_, baseRevision_, tag_, encoding_, status_,
        size_, created_, modified_, accessed_;
};
