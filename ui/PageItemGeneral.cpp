// ui/PageItemGeneral.cpp - the facts of one file.
#include "ui/PageItemGeneral.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "ui/framework/DateValue.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

using namespace uifw;

namespace {

constexpr const char* kNotAvailable = "N/A";

// The labels and their values, in the order the page shows them.
struct Fact {
    const char* label;
    ControlId id;
    const char* prompt;
};
const Fact kFacts[] = {
    {"Filename:", CPageItemGeneral::kIdcFileName, "filename"},
    {"CVSROOT:", CPageItemGeneral::kIdcCvsRoot, "cvsroot"},
    {"Module:", CPageItemGeneral::kIdcModule, "module"},
    {"Size:", CPageItemGeneral::kIdcSize, "size"},
    {"Base Revision:", CPageItemGeneral::kIdcBaseRevision, "baserevision"},
    {"Tag:", CPageItemGeneral::kIdcTag, "tag"},
    {"Encoding:", CPageItemGeneral::kIdcEncoding, "encoding"},
    {"Status:", CPageItemGeneral::kIdcStatus, "status"},
    {"Location:", CPageItemGeneral::kIdcLocation, "location"},
    {"Created:", CPageItemGeneral::kIdcCreated, "created"},
    {"Modified:", CPageItemGeneral::kIdcModified, "modified"},
    {"Accessed:", CPageItemGeneral::kIdcAccessed, "accessed"},
};

DialogTemplate GeneralTemplate() {
    DialogTemplate t(CPageItemGeneral::kIdd, "General");
    t.SetSize(280, 200);
    int y = 8;
    for (const Fact& fact : kFacts) {
        t.Label(fact.label).At(7, y + 2, 60, 8);
        t.Edit(fact.id, kReadOnly).At(70, y, 203, 12).Prompt(fact.prompt);
        y += 15;
    }
    return t;
}

std::string Encoding(const std::string& options) {
    if (options == "-kb")
        return "Binary";
    if (options == "-ku")
        return "Unicode";
    return "Text";
}

} // namespace

CPageItemGeneral::CPageItemGeneral(std::string path)
    : CPropertyPage(GeneralTemplate(), "General"), path_(std::move(path)) {}

std::string CPageItemGeneral::FormatTime(int64_t unixSeconds) {
    const platform::LocalTime t = platform::ToLocalTime(unixSeconds);
    return DateValue::Make(t.year, t.month, t.day, t.hour, t.minute, t.second)
        .Format("dddd, MMMM dd, yyyy hh:mm:ss tt");
}

void CPageItemGeneral::ReadFacts() {
    const platform::PathFacts facts =
        platform::GetPathFacts(path_, platform::ArchiveBit::OnlyIfWritable);
    size_ = facts.exists && !facts.folder
                ? std::to_string(static_cast<unsigned long long>(facts.size)) + " bytes"
                : kNotAvailable;
    fileName_ = GetFileNamePart(path_);
    location_ = path_;
    if (IsInEntries(path_)) {
        // The file's own repository: the process's current folder may belong to any
        // working copy (it is wherever the last command ran).
        cvsRoot_ = ReadRoot(path_);
        baseRevision_ = GetEntryRevision(path_);
        module_ = GetModulePath(path_);
        status_ = IsWritable(path_) ? "Checked Out" : "Checked In";
        encoding_ = Encoding(GetEntryOptions(path_));
        tag_ = GetEntryTagDate(path_);
        if (tag_.empty())
            tag_ = kNotAvailable;
    } else {
        cvsRoot_ = baseRevision_ = module_ = status_ = tag_ = encoding_ = kNotAvailable;
    }
    if (const std::optional<platform::FileTimes> times = platform::GetFileTimes(path_)) {
        created_ = FormatTime(times->created);
        modified_ = FormatTime(times->modified);
        accessed_ = FormatTime(times->accessed);
    } else {
        created_ = modified_ = accessed_ = kNotAvailable;
    }
}

bool CPageItemGeneral::OnInitDialog() {
    ReadFacts();
    return CPropertyPage::OnInitDialog();
}

void CPageItemGeneral::DoDataExchange(CDataExchange& dx) {
    // Read-only: the values only ever go to the controls.
    if (dx.IsSaving())
        return;
    for (auto [id, value] : {std::pair{kIdcFileName, &fileName_},
                             {kIdcCvsRoot, &cvsRoot_},
                             {kIdcModule, &module_},
                             {kIdcSize, &size_},
                             {kIdcBaseRevision, &baseRevision_},
                             {kIdcTag, &tag_},
                             {kIdcEncoding, &encoding_},
                             {kIdcStatus, &status_},
                             {kIdcLocation, &location_},
                             {kIdcCreated, &created_},
                             {kIdcModified, &modified_},
                             {kIdcAccessed, &accessed_}})
        dx.Text(id, *value);
}
