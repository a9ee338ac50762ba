// ui/PageItemLists.h - the "Watchers" and "Editors" pages of the item-properties sheet: who
// watches the file and who has it open for edit, as cvs lists them.
//
// Each page loads its list on a worker thread of its own the first time its tab is shown,
// so that the sheet stays usable while cvs runs:
//  1. Opening the page makes its columns, creates the worker suspended, gives it the lowest
//     priority and resumes it; the opening returns at once.
//  2. The worker disables the page's buttons and shows one row "Updating ...", runs the
//     listing through a controller of its own over the shared context (commands take
//     turns on it), and then fills the rows and enables the buttons, or, when the listing
//     failed, shows the controller's error message in a box and leaves the page as it is.
//  3. Everything it does to the page runs on the page's thread (RunOnOwnerThread), and
//     nothing reaches a page whose window has gone: a sheet closed meanwhile gets no rows.
//  4. The page's buttons ("Refresh"; "Watch Add" and "Watch Remove" first add or remove the
//     user's watch) load the list again on the page's own thread; they are disabled while a
//     load runs, so no page loads twice at once.
//  5. Destroying the page waits for its worker, without a time limit, serving meanwhile
//     what the worker sends to the page's thread; a page never shown has no worker.
//
// Text-only hosts show each list as a table once it is loaded, and offer the watch buttons
// as a choice ("watch": "Watch Add" or "Watch Remove"), showing the list again after each.
#pragma once

#include "platform/Threads.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class CCVSContext;
class CCVSController;

// What the two pages share: the list, its load and the worker.
class CPageItemList : public uifw::CPropertyPage {
public:
    using Row = std::vector<std::string>;
    // Runs the listing for the file through the controller; its rows on success.
    using Fetch = std::function<bool(CCVSController&, const std::string& path, std::vector<Row>&)>;
    struct Column {
        const char* title;
        int width;
    };

    ~CPageItemList() override;

    // While a load has not finished.
    bool IsBusy() const override { return loading_; }
    // Whether the page has started its worker.
    bool HasWorker() const { return worker_.Created(); }

    static constexpr const char* kUpdatingRow = "Updating ...";

protected:
    CPageItemList(uifw::DialogTemplate dialogTemplate, std::string title, CCVSContext& context,
                  std::string path, uifw::ControlId list, std::vector<uifw::ControlId> buttons,
                  std::vector<Column> columns, Fetch fetch);

    bool OnInitDialog() override;
    // Loads the list (the steps above), on whichever thread calls it.
    void Load();

    CCVSContext& context_;
    const std::string path_;

private:
    // Begins a load on the page: buttons off, the one row that says so.
    void ShowUpdating();
    void ShowRows(const std::vector<Row>& rows);

    const uifw::ControlId list_;
    const std::vector<uifw::ControlId> buttons_;
    const std::vector<Column> columns_;
    const Fetch fetch_;
    std::atomic<bool> loading_{false};
    platform::CThread worker_;
};

class CPageItemWatchers : public CPageItemList {
public:
    static constexpr int kIdd = ui_ids::kIddItemWatchers;
    static constexpr uifw::ControlId kIdcList = ui_ids::kIdcItemWatchersList;
    static constexpr uifw::ControlId kIdcWatchAdd = ui_ids::kIdcItemWatchAdd;
    static constexpr uifw::ControlId kIdcWatchRemove = ui_ids::kIdcItemWatchRemove;
    static constexpr uifw::ControlId kIdcRefresh = ui_ids::kIdcItemWatchersRefresh;

    CPageItemWatchers(CCVSContext& context, std::string path);

protected:
    void OnClicked(uifw::ControlId id) override;
};

class CPageItemEditors : public CPageItemList {
public:
    static constexpr int kIdd = ui_ids::kIddItemEditors;
    static constexpr uifw::ControlId kIdcList = ui_ids::kIdcItemEditorsList;
    static constexpr uifw::ControlId kIdcRefresh = ui_ids::kIdcItemEditorsRefresh;

    CPageItemEditors(CCVSContext& context, std::string path);

protected:
    void OnClicked(uifw::ControlId id) override;
};
