/* Resource and control identifiers of Nimbrel's dialogs, menu and icons.
   Shared by the resource script (Nimbrel.rc, compiled by windres/rc) and the
   C++ code, so plain #defines only: no C++ syntax in this file. */
#ifndef NIMBREL_UI_RESOURCEIDS_H
#define NIMBREL_UI_RESOURCEIDS_H

/* Icons and the tray menu. The tray icon's identifier is also the number of
   the menu it shows (129). */
#define IDI_NIMBREL 128          /* 16 x 16, 16 colours: tray icon, small window icon */
#define IDR_TRAYMENU 129         /* the tray menu, one pop-up "SYSTRAY" */
#define IDI_NIMBREL_BIG 142      /* 32 x 32, true colour: big window icon, picture */
#define IDI_NIMBREL_DISABLED 145 /* 16 x 16, 16 colours: tray icon while disabled */

/* Tray menu commands, in menu order. */
#define ID_TRAY_SHOW_DIALOG 40001
#define ID_TRAY_DISABLE_ENABLE 40003
#define ID_TRAY_INVERT 40004
#define ID_TRAY_HIDE_ICON 150
#define ID_TRAY_HELP 151
#define ID_TRAY_TERMINATE 40002

/* Dialog templates. */
#define IDD_OPTIONS 102
#define IDD_ADVANCED_OPTIONS 146
#define IDD_QUOTE_HEADER_STYLES 147

/* Identifiers that the system headers also define (with the same values). */
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Options dialog (102). */
#define IDC_OPT_STATUS_LIST 1002
#define IDC_OPT_VERSION 1022
#define IDC_OPT_DONATIONS_LINK 1023
#define IDC_OPT_EMAIL_LINK 1011
#define IDC_OPT_WEB_LINK 1008
#define IDC_OPT_VIEWING_FRAME 1028
#define IDC_OPT_COLOR_MESSAGE_VIEW 1020
#define IDC_OPT_CONTINUOUS_COLORING 1021
#define IDC_OPT_REFORMAT_MESSAGE_VIEW 1032
#define IDC_OPT_FONT_STYLES 1027
#define IDC_OPT_EMOTICONS 1033
#define IDC_OPT_COMPOSITION_FRAME 1024
#define IDC_OPT_QUOTE_CHAR_LABEL 1025
#define IDC_OPT_QUOTE_CHAR 1005
#define IDC_OPT_WRAP_COLUMN_LABEL 1026
#define IDC_OPT_WRAP_COLUMN 1006
#define IDC_OPT_STANDARDIZED_INDENTATION 1018
#define IDC_OPT_COMPRESSED_INDENTATION 1012
#define IDC_OPT_CURSOR_AT_TOP 1013
#define IDC_OPT_SIGNATURE_TO_BOTTOM 1014
#define IDC_OPT_IGNORE_HTML_MESSAGES 1016
#define IDC_OPT_STRIP_QUOTED_SIGNATURE 1019
#define IDC_OPT_FIX_EXISTING_QUOTES 1030
#define IDC_OPT_COLOR_COMPOSE_WINDOW 1031
#define IDC_OPT_QUOTE_HEADER_STYLES 1015
#define IDC_OPT_ADVANCED_OPTIONS 1017
#define IDC_OPT_TERMINATE 1003
#define IDC_OPT_HIDE 1004

/* Advanced options dialog (146). */
#define IDC_ADV_CHECK_INTERVAL_LABEL 1029
#define IDC_ADV_CHECK_INTERVAL 1018
#define IDC_ADV_OE_REACTION_DELAY_LABEL 1030
#define IDC_ADV_OE_REACTION_DELAY 1016
#define IDC_ADV_CLIPBOARD_TIMEOUT_LABEL 1031
#define IDC_ADV_CLIPBOARD_TIMEOUT 1017
#define IDC_ADV_INIT_DELAY_LABEL 1032
#define IDC_ADV_INIT_DELAY 1020
#define IDC_ADV_DISPLAY_WARNINGS 1019
#define IDC_ADV_DEPEND_ON_OE 1010
#define IDC_ADV_REFORMAT_ARBITRARY 1024
#define IDC_ADV_HIDE_TRAY_ICON 1025
#define IDC_ADV_ISO8859_FIX 1035
#define IDC_ADV_USE_CLIPBOARD 1023
#define IDC_ADV_ALT_LABEL 1003
#define IDC_ADV_ALT_FUNCTION 1002

/* Quote header styles dialog (147). */
#define IDC_QHS_EMAIL 1039
#define IDC_QHS_NEWS 1040
#define IDC_QHS_STYLE_LABEL 1042
#define IDC_QHS_STYLE 1038
#define IDC_QHS_TEMPLATE_LABEL 1034
#define IDC_QHS_TEMPLATE 1024
#define IDC_QHS_LEGEND 1041

#endif
