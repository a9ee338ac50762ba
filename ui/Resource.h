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

// The connect dialog (CDlgConnect): 10110 to 10129.
constexpr int kIddConnect = 10110;
constexpr int kIdcConnectLocalGroup = 10111;
constexpr int kIdcConnectLocalPath = 10112;
constexpr int kIdcConnectBrowseFolder = 10113;
constexpr int kIdcConnectRemoteGroup = 10114;
constexpr int kIdcConnectCvsRoot = 10115;
constexpr int kIdcConnectExample = 10116;
constexpr int kIdcConnectVerify = 10117;
constexpr int kIdcConnectModule = 10118;
constexpr int kIdcConnectBrowseModules = 10119;
constexpr int kIdcConnectHelp = 10120;

// The module selection dialog (CDlgModules): 10130 to 10139.
constexpr int kIddModules = 10130;
constexpr int kIdcModulesTree = 10131;

// The check-in comment dialog (CDlgComment): 10200 to 10209.
constexpr int kIddComment = 10200;
constexpr int kIdcCommentTemplate = 10201;
constexpr int kIdcCommentText = 10202;
constexpr int kIdcCommentDoNotDisplay = 10203;

// The comment-template panel of the settings dialog (CPanelCommentOpts): 10210 to 10219.
constexpr int kIddPanelComment = 10210;
constexpr int kIdcPanelCommentGroup = 10211;
constexpr int kIdcPanelCommentList = 10212;
constexpr int kIdcPanelCommentTitle = 10213;
constexpr int kIdcPanelCommentBody = 10214;
constexpr int kIdcPanelCommentSave = 10215;
constexpr int kIdcPanelCommentRemove = 10216;

// The settings dialog (CDlgSettings) and its panels: 10600 to 10699.
constexpr int kIddSettings = 10600;
constexpr int kIdcSettingsTree = 10601;
constexpr int kIdcSettingsPanelArea = 10602;
constexpr int kIdcSettingsHelp = 10603;
// The tree's icons, one per topic in tree order (resources/Resources.rc.in).
constexpr int kIdiSettingsCvs = 10060;
constexpr int kIdiSettingsTools = 10061;
constexpr int kIdiSettingsComments = 10062;
constexpr int kIdiSettingsAbout = 10063;

// Its "Source Control Options" panel (CPanelCvsOpts): 10610 to 10639.
constexpr int kIddPanelCvsOpts = 10610;
constexpr int kIdcCvsOptsSettingsGroup = 10611;
constexpr int kIdcCvsOptsCvsExePath = 10612;
constexpr int kIdcCvsOptsBrowseCvsExe = 10613;
constexpr int kIdcCvsOptsVendorName = 10614;
constexpr int kIdcCvsOptsRoots = 10615;
constexpr int kIdcCvsOptsDeleteRoot = 10616;
constexpr int kIdcCvsOptsUseCompression = 10617;
constexpr int kIdcCvsOptsCompressLevel = 10618;
constexpr int kIdcCvsOptsOptionsGroup = 10619;
constexpr int kIdcCvsOptsWarnOnEdit = 10620;
constexpr int kIdcCvsOptsIndependentMode = 10621;
constexpr int kIdcCvsOptsUseUnixLF = 10622;
constexpr int kIdcCvsOptsAutoCommit = 10623;
constexpr int kIdcCvsOptsLogoutOnClose = 10624;
constexpr int kIdcCvsOptsUseComments = 10625;
constexpr int kIdcCvsOptsHideStatusUI = 10626;
constexpr int kIdcCvsOptsNoCheckoutUpdates = 10627;
constexpr int kIdcCvsOptsUseCvsTrace = 10628;
constexpr int kIdcCvsOptsUseQuickCompare = 10629;
constexpr int kIdcCvsOptsExclusiveLock = 10630;

// Its "External Tools" panel (CPanelDiffCfg): 10640 to 10659.
constexpr int kIddPanelDiffCfg = 10640;
constexpr int kIdcDiffCfgGroup = 10641;
constexpr int kIdcDiffCfgDiffExe = 10642;
constexpr int kIdcDiffCfgBrowseDiffExe = 10643;
constexpr int kIdcDiffCfgConflictExe = 10644;
constexpr int kIdcDiffCfgBrowseConflictExe = 10645;
constexpr int kIdcDiffCfgEditor = 10646;
constexpr int kIdcDiffCfgBrowseEditor = 10647;

// Its "About Morvek" panel (CPanelProdInfo): 10660 to 10669.
constexpr int kIddPanelProdInfo = 10660;
constexpr int kIdcProdInfoGroup = 10661;
constexpr int kIdcProdInfoVersion = 10662;

// The item-properties sheet (CDlgItemProp) and its pages: 10700 to 10799.
constexpr int kIddItemGeneral = 10700; // CPageItemGeneral
constexpr int kIdcItemFileName = 10701;
constexpr int kIdcItemCvsRoot = 10702;
constexpr int kIdcItemModule = 10703;
constexpr int kIdcItemSize = 10704;
constexpr int kIdcItemBaseRevision = 10705;
constexpr int kIdcItemTag = 10706;
constexpr int kIdcItemEncoding = 10707;
constexpr int kIdcItemStatus = 10708;
constexpr int kIdcItemLocation = 10709;
constexpr int kIdcItemCreated = 10710;
constexpr int kIdcItemModified = 10711;
constexpr int kIdcItemAccessed = 10712;
constexpr int kIddItemWatchers = 10720; // CPageItemWatchers
constexpr int kIdcItemWatchersList = 10721;
constexpr int kIdcItemWatchAdd = 10722;
constexpr int kIdcItemWatchRemove = 10723;
constexpr int kIdcItemWatchersRefresh = 10724;
constexpr int kIddItemEditors = 10730; // CPageItemEditors
constexpr int kIdcItemEditorsList = 10731;
constexpr int kIdcItemEditorsRefresh = 10732;

// The advanced-options sheets (CDlgGetCmdOpts, CDlgCheckInOpts) and their pages
// (CPageUpdateOpts, CPageCheckinOpts): 10300 to 10349.
constexpr int kIddUpdateOpts = 10300;
constexpr int kIdcUpdMergeGroup = 10301;
constexpr int kIdcUpdDontMerge = 10302;
constexpr int kIdcUpdMergeBranch1 = 10303;
constexpr int kIdcUpdMergeTag1 = 10304;
constexpr int kIdcUpdChooseMergeTag1 = 10305;
constexpr int kIdcUpdMergeBranch2 = 10306;
constexpr int kIdcUpdMergeTag2 = 10307;
constexpr int kIdcUpdChooseMergeTag2 = 10308;
constexpr int kIdcUpdVersionGroup = 10309;
constexpr int kIdcUpdDefaultVer = 10310;
constexpr int kIdcUpdByTag = 10311;
constexpr int kIdcUpdTag = 10312;
constexpr int kIdcUpdChooseTag = 10313;
constexpr int kIdcUpdByDate = 10314;
constexpr int kIdcUpdDate = 10315;
constexpr int kIdcUpdOptionsGroup = 10316;
constexpr int kIdcUpdResetSticky = 10317;
constexpr int kIdcUpdPruneEmpty = 10318;
constexpr int kIdcUpdCreateNewDir = 10319;
constexpr int kIdcUpdCleanCopy = 10320;
constexpr int kIdcUpdKeywordSub = 10321;
constexpr int kIdcUpdKeyword = 10322;
constexpr int kIddCheckinOpts = 10330;
constexpr int kIdcCiForce = 10331;
constexpr int kIdcCiCheckEdits = 10332;
constexpr int kIdcCiCommitBranch = 10333;
constexpr int kIdcCiBranch = 10334;
constexpr int kIdcCiChooseBranch = 10335;

// The revision history sheet (CDlgItemHistory) and its page (CPageItemRevHist), the file
// difference dialog (CDlgDiff) and the tag selection (CDlgTagSelect): 10400 to 10449.
constexpr int kIddItemHistory = 10400;
constexpr int kIddPageRevHist = 10410;
constexpr int kIdcRevHistFileName = 10411;
constexpr int kIdcRevHistList = 10412;
constexpr int kIdcRevHistComments = 10413;
constexpr int kIdcRevHistView = 10414;
constexpr int kIdcRevHistDiffLocal = 10415;
constexpr int kIdcRevHistReplace = 10416;
constexpr int kIdcRevHistDiff = 10417;
constexpr int kIdcRevHistRefresh = 10418;
constexpr int kIdcRevHistUpdateComments = 10419;
constexpr int kIddDiff = 10430;
constexpr int kIdcDiffGroup = 10431;
constexpr int kIdcDiffSourceFile = 10432;
constexpr int kIdcDiffRevision = 10433;
constexpr int kIddTagSelect = 10440;
constexpr int kIdcTagSelectList = 10441;

} // namespace ui_ids
