// ui/PageItemLists.cpp - the watchers and editors of one file, loaded on worker threads.
#include "ui/PageItemLists.h"

#include "operations/CVSController.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/OwnerThread.h"

using namespace uifw;

namespace {

DialogTemplate WatchersTemplate() {
    DialogTemplate t(CPageItemWatchers::kIdd, "Watchers");
    t.SetSize(380, 200);
    t.ListView(CPageItemWatchers::kIdcList, kReadOnly | kFullRowSelect | kShowSelAlways)
        .At(7, 7, 366, 160)
        .Prompt("watchers");
    t.Button(CPageItemWatchers::kIdcWatchAdd, "Watch Add", kDisabled)
        .At(7, 175, 60, 14)
        .Prompt("watch");
    t.Button(CPageItemWatchers::kIdcWatchRemove, "Watch Remove", kDisabled)
        .At(72, 175, 60, 14)
        .Prompt("watch");
    t.Button(CPageItemWatchers::kIdcRefresh, "Refresh", kDisabled).At(313, 175, 60, 14);
    return t;
}

DialogTemplate EditorsTemplate() {
    DialogTemplate t(CPageItemEditors::kIdd, "Editors");
    t.SetSize(380, 200);
    t.ListView(CPageItemEditors::kIdcList, kReadOnly | kFullRowSelect | kShowSelAlways)
        .At(7, 7, 366, 160)
        .Prompt("editors");
    t.Button(CPageItemEditors::kIdcRefresh, "Refresh", kDisabled).At(313, 175, 60, 14);
    return t;
}

const char* YesNo(bool flag) {
    return flag ? "yes" : "no";
}

bool FetchWatchers(CCVSController& controller, const std::string& path,
                   std::vector<CPageItemList::Row>& rows) {
    std::vector<CCVSWatcher> watchers;
    if (!controller.GetWatchers({path}, watchers))
        return false;
    for (const CCVSWatcher& w : watchers)
        rows.push_back({w.file, w.user, YesNo(w.edit), YesNo(w.unedit), YesNo(w.commit)});
    return true;
}

bool FetchEditors(CCVSController& controller, const std::string& path,
                  std::vector<CPageItemList::Row>& rows) {
    std::vector<CCVSEditor> editors;
    if (!controller.GetEditors({path}, editors))
        return false;
    for (const CCVSEditor& e : editors)
        rows.push_back({e.file, e.user, e.date, e.host, e.folder});
    return true;
}

} // namespace

// --- CPageItemList

CPageItemList::CPageItemList(DialogTemplate dialogTemplate, std::string title, CCVSContext& context,
                             std::string path, ControlId list, std::vector<ControlId> buttons,
                             std::vector<Column> columns, Fetch fetch)
    : CPropertyPage(std::move(dialogTemplate), std::move(title)), context_(context),
      path_(std::move(path)), list_(list), buttons_(std::move(buttons)),
      columns_(std::move(columns)), fetch_(std::move(fetch)) {}

CPageItemList::~CPageItemList() {
    // The window goes first, so that whatever the worker still sends finds no page; then
    // the worker is waited for, its actions served (and dropped) meanwhile. The worker uses
    // only what this class holds, which is still here.
    if (IsRealised() && RealisingHost())
        RealisingHost()->DestroyWindow(*this);
    if (worker_.Created())
        ServeUntil([this] { return worker_.Wait(0); });
}

bool CPageItemList::OnInitDialog() {
    CListView list = List(list_);
    for (size_t i = 0; i < columns_.size(); ++i)
        list.InsertColumn(static_cast<int>(i), columns_[i].title, columns_[i].width);
    CPropertyPage::OnInitDialog();

    loading_ = true;
    // The end of the load wakes this thread, should it be waiting for the worker.
    const std::shared_ptr<CThreadQueue> owner = ThisThreadQueue();
    if (!worker_.CreateSuspended([this, owner] {
            Load();
            owner->Wake();
        })) {
        Load(); // no thread to be had: the page loads on its own thread
        return true;
    }
    worker_.SetLowestPriority();
    worker_.Resume();
    return true;
}

void CPageItemList::ShowUpdating() {
    for (ControlId button : buttons_)
        Button(button).Enable(false);
    CListView list = List(list_);
    list.DeleteAllItems();
    list.InsertItem(0, kUpdatingRow);
}

void CPageItemList::ShowRows(const std::vector<Row>& rows) {
    CListView list = List(list_);
    list.DeleteAllItems();
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = list.InsertItem(static_cast<int>(r), rows[r].empty() ? "" : rows[r][0]);
        for (size_t c = 1; c < rows[r].size(); ++c)
            list.SetItemText(row, static_cast<int>(c), rows[r][c]);
    }
    for (ControlId button : buttons_)
        Button(button).Enable(true);
}

void CPageItemList::Load() {
    loading_ = true;
    RunOnOwnerThread([this] { ShowUpdating(); });
    std::vector<Row> rows;
    std::string error;
    bool listed = false;
    {
        CCVSController controller(context_);
        listed = fetch_(controller, path_, rows);
        error = controller.GetErrorMessage();
    }
    // Dropped, rows and box alike, when the page has gone meanwhile.
    if (listed)
        RunOnOwnerThread([&] { ShowRows(rows); });
    else
        RunOnOwnerThread([&] { AppMessageBox(error, kMbOk); });
    loading_ = false;
}

// --- CPageItemWatchers

CPageItemWatchers::CPageItemWatchers(CCVSContext& context, std::string path)
    : CPageItemList(
          WatchersTemplate(), "Watchers", context, std::move(path), kIdcList,
          {kIdcRefresh, kIdcWatchAdd, kIdcWatchRemove},
          {{"Filename", 150}, {"Username", 80}, {"edit", 45}, {"unedit", 45}, {"commit", 45}},
          FetchWatchers) {}

void CPageItemWatchers::OnClicked(ControlId id) {
    if (id == kIdcWatchAdd || id == kIdcWatchRemove) {
        // Whether it worked shows in the list that follows.
        CCVSController controller(context_);
        if (id == kIdcWatchAdd)
            controller.AddWatch({path_});
        else
            controller.RemoveWatch({path_});
    }
    if (id == kIdcWatchAdd || id == kIdcWatchRemove || id == kIdcRefresh)
        Load();
}

// --- CPageItemEditors

CPageItemEditors::CPageItemEditors(CCVSContext& context, std::string path)
    : CPageItemList(EditorsTemplate(), "Editors", context, std::move(path), kIdcList, {kIdcRefresh},
                    {{"Filename", 90},
                     {"Username", 80},
                     {"Date/Time", 166},
                     {"Hostname", 80},
                     {"Working Directory", 150}},
                    FetchEditors) {}

void CPageItemEditors::OnClicked(ControlId id) {
    if (id == kIdcRefresh)
        Load();
}
