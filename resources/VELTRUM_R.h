// Control ids of the module's dialog templates, grouped per dialog.
#pragma once

// Common buttons.
#define IDC_RECHNEN 1
#define IDC_ABBRECHEN 2
#define IDC_LOESCHEN 3

// Icon.
#define IDI_VELTRUM 100

// Texts of the string table: captions that replace a template's own where two tests share it.
#define IDS_CAPTION_MANTEL_K 51
#define IDS_CAPTION_MANTEL_2 52

// HAUFIG: comparison of two frequencies.
#define IDC_HAUFIG_KEYWORD 101
#define IDC_HAUFIG_N1 102
#define IDC_HAUFIG_N2 103
#define IDC_HAUFIG_FRAME 104
#define IDC_HAUFIG_KEYWORD_LABEL 105
#define IDC_HAUFIG_N1_LABEL 106
#define IDC_HAUFIG_N2_LABEL 107

// KRUSKAL, UTEST, MEDIAN, KOLMO: the group dialogs.  In KRUSKAL edit 403 takes the number of
// groups and edit 404 one group number at a time; in the two-group dialogs they take the two
// group numbers.
#define IDC_GROUPS_VARIABLE 201
#define IDC_GROUPS_VARIABLE_LABEL 205
#define IDC_GROUPS_TARGET 401
#define IDC_GROUPS_TARGET_LABEL 402
#define IDC_GROUPS_COUNT 403
#define IDC_GROUPS_NUMBER 404
#define IDC_GROUPS_FIRST 403
#define IDC_GROUPS_SECOND 404
#define IDC_GROUPS_EDIT1_LABEL 405
#define IDC_GROUPS_EDIT2_LABEL 406
#define IDC_GROUPS_LISTING 407
#define IDC_GROUPS_HELP 408
#define IDC_GROUPS_NOTE_FRAME 601
#define IDC_GROUPS_NOTE1 602
#define IDC_GROUPS_NOTE2 603

// ANPASS and GLEICH: goodness of fit and uniform distribution (GLEICH has no probability).
#define IDC_FIT_FRAME 1001
#define IDC_FIT_PROMPT1 1002
#define IDC_FIT_PROMPT2 1003
#define IDC_FIT_FREQUENCY 1004
#define IDC_FIT_FREQUENCY_LABEL 1005
#define IDC_FIT_NOTE_FRAME 1006
#define IDC_FIT_NOTE 1007
#define IDC_FIT_PROBABILITY_LABEL 1101
#define IDC_FIT_PROMPT3 1102
#define IDC_FIT_PROMPT4 1103
#define IDC_FIT_PROBABILITY 1104

// BINOM: binomial test.
#define IDC_BINOM_KEYWORD 101
#define IDC_BINOM_N 901
#define IDC_BINOM_K 902
#define IDC_BINOM_THETA 903
#define IDC_BINOM_N_LABEL 904
#define IDC_BINOM_K_LABEL 905
#define IDC_BINOM_THETA_LABEL 906
#define IDC_BINOM_FRAME 907
#define IDC_BINOM_KEYWORD_LABEL 1401

// CROSS: cross-over analysis.  The three lists hold the variable names only (no "<Keine>").
#define IDC_CROSS_GROUP_VARIABLE 201
#define IDC_CROSS_FRAME 204
#define IDC_CROSS_GROUP_VARIABLE_LABEL 205
#define IDC_CROSS_LISTING_FRAME 209
#define IDC_CROSS_PERIOD1 401
#define IDC_CROSS_VARIABLES_LABEL 402
#define IDC_CROSS_LISTING 407
#define IDC_CROSS_PERIOD2 901
#define IDC_CROSS_PERIOD1_LABEL 902
#define IDC_CROSS_PERIOD2_LABEL 903
#define IDC_CROSS_GROUPS_LABEL 904
#define IDC_CROSS_GROUP1 905
#define IDC_CROSS_GROUP2 906
#define IDC_CROSS_GROUP1_LABEL 907
#define IDC_CROSS_GROUP2_LABEL 908
#define IDC_CROSS_HELP 909

// FRIEDMAN: Friedman test.  Group variable and number, the target variables in a list box with
// multiple selection by click, the listing check box.
#define IDC_FRIEDMAN_GROUP_VARIABLE 101
#define IDC_FRIEDMAN_GROUP 102
#define IDC_FRIEDMAN_TARGETS_LABEL 103
#define IDC_FRIEDMAN_GROUP_VARIABLE_LABEL 104
#define IDC_FRIEDMAN_GROUP_LABEL1 105
#define IDC_FRIEDMAN_GROUP_LABEL2 106
#define IDC_FRIEDMAN_TARGETS 107
#define IDC_FRIEDMAN_FRAME 108
#define IDC_FRIEDMAN_LISTING_FRAME 301
#define IDC_FRIEDMAN_LISTING 304

// COCHRAN: Cochran's Q test, the table typed cell by cell.
#define IDC_COCHRAN_FRAME 1301
#define IDC_COCHRAN_ROWS_LABEL 1302
#define IDC_COCHRAN_COLUMNS_LABEL 1303
#define IDC_COCHRAN_ROWS 1304
#define IDC_COCHRAN_COLUMNS 1305
#define IDC_COCHRAN_DATA_LABEL 1306
#define IDC_COCHRAN_PROMPT 1307
#define IDC_COCHRAN_VALUE 1308
#define IDC_COCHRAN_NOTE_FRAME 1309
#define IDC_COCHRAN_NOTE 1310

// WMP and VZT: the paired dialogs (the same controls, only the caption differs).
#define IDC_PAIRS_VARIABLE 201
#define IDC_PAIRS_GROUP 202
#define IDC_PAIRS_FIRST 203
#define IDC_PAIRS_FRAME 204
#define IDC_PAIRS_VARIABLE_LABEL 205
#define IDC_PAIRS_PROMPT 206
#define IDC_PAIRS_FIRST_LABEL 207
#define IDC_PAIRS_SECOND_LABEL 208
#define IDC_PAIRS_LISTING_FRAME 209
#define IDC_PAIRS_LISTING 210
#define IDC_PAIRS_SECOND 211
#define IDC_PAIRS_GROUP_LABEL 212
