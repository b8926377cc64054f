#pragma once

#include <array>

// The numeric identifiers of the language pack's texts. Code asks for texts only through these
// names, never through literal numbers, so that every identifier the program uses is listed here
// (and checked against the embedded pack by the tests).
namespace s::lang::text {

// The maker's links.
inline constexpr int kMakerSiteName = 100000;
inline constexpr int kMakerSiteAddress = 101000;
inline constexpr int kDonationLinkText = 105000;
inline constexpr int kDonationSiteAddress = 106000;
inline constexpr int kMoreSoftwareLinkText = 107000;
inline constexpr int kMoreSoftwareAddress = 108000;
inline constexpr int kWorkplaceLinkText = 108100;
inline constexpr int kCommercialUseAddress = 108200;
inline constexpr int kTranslationPageAddress = 108500;

// The software and registry identifier.
inline constexpr int kSoftwareId = 300000;

// The About window's captions.
inline constexpr int kAboutVersionCaption = 400010;
inline constexpr int kAboutLastUpdatedCaption = 400020;
inline constexpr int kAboutSystemsCaption = 400030;
inline constexpr int kAboutLicenseCaption = 400050;
inline constexpr int kAboutUrlCaption = 400080;
inline constexpr int kAboutTitle = 400100;
inline constexpr int kAboutUsefulQuestion = 400110;
inline constexpr int kAboutClose = 400120;

// The product texts. The application object finds some of them as offsets from the product base.
inline constexpr int kProductTextBase = 500000;
inline constexpr int kProductName = 500000;
inline constexpr int kProductEdition = 500001;
inline constexpr int kProductAnchor = 500002;
inline constexpr int kProductPageAddress = 500003;
inline constexpr int kFeedbackPageAddress = 500004;
inline constexpr int kVersionHistoryAddress = 500006;
inline constexpr int kProductVersion = 500010;
inline constexpr int kProductDate = 500020;
inline constexpr int kProductSystems = 500030;
inline constexpr int kProductLicenseNote = 500052;  // empty in the shipped pack
inline constexpr int kDonationQuestion = 500089;
inline constexpr int kDonationRequest = 500090;
inline constexpr int kDonationPageAddress = 500100;
inline constexpr int kDonationNote1 = 500101;  // empty in the shipped pack
inline constexpr int kDonationNote2 = 500102;  // empty in the shipped pack

inline constexpr int kProductPageOffset = 3;
inline constexpr int kFeedbackPageOffset = 4;
inline constexpr int kVersionOffset = 10;
inline constexpr int kDonationPageOffset = 100;
static_assert(kProductTextBase + kProductPageOffset == kProductPageAddress);
static_assert(kProductTextBase + kFeedbackPageOffset == kFeedbackPageAddress);
static_assert(kProductTextBase + kVersionOffset == kProductVersion);
static_assert(kProductTextBase + kDonationPageOffset == kDonationPageAddress);

// The View menu and its submenus.
inline constexpr int kMenuView = 609000;
inline constexpr int kMenuKeepOnTop = 609100;
inline constexpr int kMenuIconizeOnMiddleClick = 609200;
inline constexpr int kMenuEasyDrag = 609300;
inline constexpr int kMenuStartOnBoot = 609500;
inline constexpr int kMenuSkin = 609900;
inline constexpr int kMenuLanguage = 700000;
inline constexpr int kMenuTranslate = 700001;
inline constexpr int kMenuAbout = 701000;
inline constexpr int kMenuVersionInformation = 701100;
inline constexpr int kMenuSoftwarePage = 701200;
inline constexpr int kMenuTellDevelopers = 701300;

inline constexpr int kMenuRefreshFrequency = 710000;
inline constexpr int kRefreshRealTime = 710001;
inline constexpr int kRefreshHalfSecond = 710050;
inline constexpr int kRefreshOneSecond = 710100;
inline constexpr int kRefreshTwoSeconds = 710200;
inline constexpr int kRefreshThreeSeconds = 710300;
inline constexpr int kRefreshFiveSeconds = 710400;
inline constexpr int kRefreshTenSeconds = 710500;
inline constexpr int kRefreshThirtySeconds = 710600;
inline constexpr int kRefreshOneMinute = 710700;
inline constexpr int kRefreshFiveMinutes = 710800;

inline constexpr int kMenuKeepLogsUpTo = 720000;
inline constexpr int kMenuClearLog = 720001;
inline constexpr int kMenuSuspendLogging = 720002;
inline constexpr int kLogLimit100 = 720100;
inline constexpr int kLogLimit200 = 720200;
inline constexpr int kLogLimit300 = 720300;
inline constexpr int kLogLimit500 = 720400;
inline constexpr int kLogLimit700 = 720500;
inline constexpr int kLogLimit1000 = 720600;
inline constexpr int kLogLimit2000 = 720700;
inline constexpr int kLogLimit3000 = 720800;
inline constexpr int kLogLimit4000 = 720900;
inline constexpr int kLogLimit5000 = 721000;
inline constexpr int kLogLimit7000 = 721100;
inline constexpr int kLogLimit10000 = 721200;
inline constexpr int kLogLimit20000 = 721300;

inline constexpr int kAllAccess = 740000;
inline constexpr int kSpecificFolder = 740100;

// The tray menu and the list's context menu.
inline constexpr int kMenuOpenWindow = 750000;
inline constexpr int kMenuExit = 751000;
inline constexpr int kMenuLocateFile = 760000;

// The list's columns.
inline constexpr int kColumnTime = 1001000;
inline constexpr int kColumnChange = 1002000;
inline constexpr int kColumnFileName = 1003000;
inline constexpr int kColumnSize = 1004000;
inline constexpr int kColumnFolder = 1005000;
inline constexpr int kColumnExtension = 1006000;

// The status line.
inline constexpr int kStatusRead = 1010000;
inline constexpr int kStatusWrite = 1010100;
inline constexpr int kStatusDiskBusy = 1010200;

// The kinds of change, in the list and on their check boxes.
inline constexpr int kChangeCreated = 1501000;
inline constexpr int kChangeWritten = 1502000;
inline constexpr int kChangeRenamed = 1503000;
inline constexpr int kChangeDeleted = 1504000;

// The buttons of the view and the save dialog.
inline constexpr int kButtonSaveLog = 2100000;
inline constexpr int kLogFileType = 2101000;
inline constexpr int kButtonClear = 2110000;
inline constexpr int kButtonStop = 2120000;
inline constexpr int kButtonResume = 2120001;

// The toolkit's own window texts.
inline constexpr int kWindowAbout = 2010000000;
inline constexpr int kWindowClose = 2010001000;

// Every identifier above once, in pack order.
inline constexpr std::array kAllTextIds{
    kMakerSiteName, kMakerSiteAddress, kDonationLinkText, kDonationSiteAddress, kMoreSoftwareLinkText,
    kMoreSoftwareAddress, kWorkplaceLinkText, kCommercialUseAddress, kTranslationPageAddress, kSoftwareId,
    kAboutVersionCaption, kAboutLastUpdatedCaption, kAboutSystemsCaption, kAboutLicenseCaption, kAboutUrlCaption,
    kAboutTitle, kAboutUsefulQuestion, kAboutClose, kProductName, kProductEdition, kProductAnchor,
    kProductPageAddress, kFeedbackPageAddress, kVersionHistoryAddress, kProductVersion, kProductDate,
    kProductSystems, kProductLicenseNote, kDonationQuestion, kDonationRequest, kDonationPageAddress, kDonationNote1,
    kDonationNote2, kMenuView, kMenuKeepOnTop, kMenuIconizeOnMiddleClick, kMenuEasyDrag, kMenuStartOnBoot,
    kMenuSkin, kMenuLanguage, kMenuTranslate, kMenuAbout, kMenuVersionInformation, kMenuSoftwarePage,
    kMenuTellDevelopers, kMenuRefreshFrequency, kRefreshRealTime, kRefreshHalfSecond, kRefreshOneSecond,
    kRefreshTwoSeconds, kRefreshThreeSeconds, kRefreshFiveSeconds, kRefreshTenSeconds, kRefreshThirtySeconds,
    kRefreshOneMinute, kRefreshFiveMinutes, kMenuKeepLogsUpTo, kMenuClearLog, kMenuSuspendLogging, kLogLimit100,
    kLogLimit200, kLogLimit300, kLogLimit500, kLogLimit700, kLogLimit1000, kLogLimit2000, kLogLimit3000,
    kLogLimit4000, kLogLimit5000, kLogLimit7000, kLogLimit10000, kLogLimit20000, kAllAccess, kSpecificFolder,
    kMenuOpenWindow, kMenuExit, kMenuLocateFile, kColumnTime, kColumnChange, kColumnFileName, kColumnSize,
    kColumnFolder, kColumnExtension, kStatusRead, kStatusWrite, kStatusDiskBusy, kChangeCreated, kChangeWritten,
    kChangeRenamed, kChangeDeleted, kButtonSaveLog, kLogFileType, kButtonClear, kButtonStop, kButtonResume,
    kWindowAbout, kWindowClose,
};

}  // namespace s::lang::text
