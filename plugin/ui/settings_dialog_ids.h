// The settings dialog's template and control ids, shared by its resource script and its code.
#pragma once

#define IDD_SETTINGS 109

#define IDC_INTRODUCTION 254
#define IDC_ENABLE 201
#define IDC_INDEX_HISTORY 258
#define IDC_INDEX_DISCUSSION 259
#define IDC_DATABASES 202
#define IDC_ADD 239
#define IDC_REMOVE 247
#define IDC_SELECTED_STATUS 243
#define IDC_SPARE_PANEL 241
#define IDC_INDEX_ENCRYPTED 204
#define IDC_INDEX_DRAFTS 242
#define IDC_INDEX_ON_IDLE 246
#define IDC_REINDEX_ALL 244
#define IDC_INDEX_EVERY 223
#define IDC_MINUTES 225
#define IDC_MINUTES_LABEL 224
#define IDC_HELP_TEXT 253
#define IDC_PROCESSING 249
#define IDC_STATUS 238
#define IDC_ABOUT 252
#define IDC_OK 1
#define IDC_CANCEL 251
#define IDC_APPLY 250

#define IDT_STATUS_REFRESH 194
