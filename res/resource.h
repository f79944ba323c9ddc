// Resource and command identifiers. The numbers are fixed: other programs find the windows,
// controls, commands and texts of Tov by them.
#pragma once

// Program name (also its string), main toolbar, its bitmap and the application icon.
#define IDR_MAINFRAME 128

// Strings
#define IDS_RESULTS_TITLE 129
#define IDS_OPEN_FILTER 130
#define IDS_ERROR_CAPTION 131
#define IDS_CLASS_ALL 132
#define IDS_CLASS_WORD 133
#define IDS_CLASS_EXCEL 134
#define IDS_CLASS_POWERPOINT 135
#define IDS_CLASS_COMPRESSED 136
#define IDS_CLASS_EMAIL 137
#define IDS_CLASS_IMAGE 138
#define IDS_CLASS_MUSIC 139
#define IDS_CLASS_VIDEO 140
#define IDS_COLUMN_NAME 141
#define IDS_COLUMN_SIZE 142
#define IDS_COLUMN_DATE 143
#define IDS_EMPTY_LIST 144
#define IDS_COLUMN_TYPE 145
#define IDS_COLUMN_CORRECT 146
#define IDS_COLUMN_INCORRECT 147
#define IDS_INVALID_LISTING 148
#define IDS_CLASS_SQLSERVER 149
#define IDS_LISTING_PATTERN 151
// The labels of the work header and of the check statistics, one per key, in the order of the
// keys: label i of a section is its first label + i.
#define IDS_HEADER_WORK_NUMBER 160
#define IDS_HEADER_RECEPTION_DATE 161
#define IDS_HEADER_FIRM_NAME 162
#define IDS_HEADER_ADDRESS 163
#define IDS_HEADER_TOWN 164
#define IDS_HEADER_PROVINCE 165
#define IDS_HEADER_COUNTRY 166
#define IDS_HEADER_MANUFACTURER 167
#define IDS_HEADER_MODEL 168
#define IDS_HEADER_ANALYSIS_DATE 169
#define IDS_HEADER_SIZE 170
#define IDS_HEADER_TOTAL_FOLDERS 171
#define IDS_HEADER_TOTAL_FILES 172
#define IDS_STATS_ANALYSED 180
#define IDS_STATS_EXCEL 181
#define IDS_STATS_POWERPOINT 182
#define IDS_STATS_WORD 183
#define IDS_STATS_ZIP 184
#define IDS_STATS_AUTOCAD 185
#define IDS_STATS_IMAGE 186
#define IDS_STATS_SOUND 187
#define IDS_HEADER_LABEL_FIRST IDS_HEADER_WORK_NUMBER
#define IDS_STATS_LABEL_FIRST IDS_STATS_ANALYSED
#define IDS_SEARCH_LABEL 190
#define IDS_RESULTS_COUNT 191
#define IDS_SAVE_ERROR 192
#define IDS_INVALID_PATTERN 193
#define IDS_LINES_LEFT_OUT 194
#define IDS_HELP_TEXT 1010
#define IDS_WEBSITE_URL 1017

// Dialogs, images and their controls
#define IDD_WORK_SUMMARY 202
#define IDB_CHECK_MARKS 203
#define IDD_ABOUT 205
#define IDR_BANNER 209
#define IDI_LOGO 213
#define IDC_LOGO 213
#define IDC_CHECK_LIST 1013
#define IDC_TEXT 1014
#define IDC_CHECK_CAPTION 1015
#define IDC_NOTE 1019

// Child windows of the main window
#define IDC_FOLDER_TREE 1001
#define IDC_FILE_LIST 1002
#define IDC_RESULTS_LIST 1003
#define IDC_SEARCH_COMBO 1004
#define ID_BARS 0xE800        // the rebar and both toolbars
#define ID_FIRST_BAND 0xEB00  // rebar band identifiers count up from here

// Commands; the string of the same id is the command's tooltip.
#define ID_ONLY_GOOD 1011
#define ID_ONLY_BAD 1012
#define ID_WEBSITE 1016
#define ID_SHOW_RESULTS 32773
#define ID_ABOUT 32774
#define ID_FOLDER_UP 32775
#define ID_SAVE_SEARCH 32777
#define ID_SEARCH 32782
#define ID_SHOW_SUMMARY 32784
#define ID_RESULTS_CLOSE 0xE152  // 57682

// Private messages and notifications
#define WM_OPEN_LISTING (0x8000 + 1)  // WM_APP + 1
#define NM_BACK (-198)
