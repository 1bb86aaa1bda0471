#pragma once

#include "platform/ui/WinConstants.h"

// The commands of the main window's menu (resource 128), its accelerators (table 228) and the
// buttons that send them, and the messages the main window answers.

// File
constexpr UINT ID_FILE_CREATE_NEWSLETTER = 32779;
constexpr UINT ID_FILE_ORGANIZE_NEWSLETTERS = 32928;
constexpr UINT ID_FILE_CREATE_MAILING_LIST = 32944;
constexpr UINT ID_FILE_ORGANIZE_MAILING_LISTS = 32927;
constexpr UINT ID_FILE_INTRO_MENU = 32896;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_MRU_FIRST = 32930;
constexpr UINT ID_FILE_MRU_LAST = 32934;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 32888;
constexpr UINT ID_APP_EXIT = 32771;
constexpr UINT ID_FILE_CREATE_EMPTY_NEWSLETTER = 32910;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_PREVIEW = 32964;
// Sent by whoever changes the open document.
constexpr UINT ID_CURBASE_CHANGED = 32889;

// View
constexpr UINT ID_VIEW_EMAIL = 32772;
constexpr UINT ID_VIEW_SUBSCRIBERS = 32773;
constexpr UINT ID_VIEW_STATISTICS = 32774;
constexpr UINT ID_VIEW_REPORT_OVERVIEW = 32985;
constexpr UINT ID_VIEW_REPORT_TRACKING = 32986;
constexpr UINT ID_EMAIL_SETTINGS_SERVICES = 33053;
constexpr UINT ID_VIEW_NAVIGATION_PANE = 32970;

// Recipients and mailing lists
constexpr UINT ID_RECIPIENTS_IMPORT = 32902;
constexpr UINT ID_RECIPIENTS_ADD = 32903;
constexpr UINT ID_RECIPIENTS_PROPERTIES = 32905;
constexpr UINT ID_RECIPIENTS_DELETE = 32906;
constexpr UINT ID_RECIPIENTS_SELECT_ALL = 32963;
constexpr UINT ID_MAILING_LIST_SETTINGS = 32987;
constexpr UINT ID_MAILING_LIST_UPDATE = 32990;

// Newsletter
constexpr UINT ID_EMAIL_SETTINGS = 32780;
constexpr UINT ID_TEST_SEND = 32781;
constexpr UINT ID_SEND = 32782;
constexpr UINT ID_TEST_SEND_SETTINGS = 32901;
// The e-mail settings at their "Delivery" page; the Send dialog asks for it.
constexpr UINT ID_EMAIL_SETTINGS_DELIVERY = 33054;
constexpr UINT ID_FORMAT_STYLES = 32887;
constexpr UINT ID_FORMAT_PALETTE = 32778;

// Tools
constexpr UINT ID_TOOLS_SITE_ACCOUNTS = 33030;
constexpr UINT ID_TOOLS_CHECK_UPDATES = 33032;
constexpr UINT ID_TOOLS_AUTO_UPDATE = 33033;

// Help
constexpr UINT ID_HELP_ABOUT = 32951;
constexpr UINT ID_HELP_CONTENTS = 32946;
constexpr UINT ID_HELP = 57670;
constexpr UINT ID_HELP_INDEX = 57666;
constexpr UINT ID_HELP_TUTORIAL = 32994;
constexpr UINT ID_HELP_INTRO_MOVIE = 32991;
constexpr UINT ID_HELP_VISIT = 32993;
constexpr UINT ID_HELP_SUPPORT = 32949;
// The help window's own toolbar.
constexpr UINT ID_HELP_BACK = 32953;
constexpr UINT ID_HELP_FORWARD = 32954;
constexpr UINT ID_HELP_START_PAGE = 32955;
constexpr UINT ID_HELP_SEARCH = 32956;

// The splash has ended.
constexpr UINT ID_SPLASH_ENDED = 33028;

// The main window's messages: show the help at the topic in wParam (0 the contents); open the
// shortcut link record in lParam, answering whether it opened.
constexpr UINT UM_SHOW_HELP = WM_APP + 0x400;
constexpr UINT UM_OPEN_SHORTCUT = WM_USER + 0x781;
