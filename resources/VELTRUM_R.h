// Control ids of the module's dialog templates, grouped per dialog.
#pragma once

// Common buttons.
#define IDC_RECHNEN 1
#define IDC_ABBRECHEN 2
#define IDC_LOESCHEN 3

// Icon.
#define IDI_VELTRUM 100

// HAUFIG: comparison of two frequencies.
#define IDC_HAUFIG_KEYWORD 101
#define IDC_HAUFIG_N1 102
#define IDC_HAUFIG_N2 103
#define IDC_HAUFIG_FRAME 104
#define IDC_HAUFIG_KEYWORD_LABEL 105
#define IDC_HAUFIG_N1_LABEL 106
#define IDC_HAUFIG_N2_LABEL 107
