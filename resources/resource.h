// Identifiers of the dialog templates, the dialog bitmap and their controls (resources/orvanta.rc).
#pragma once

#define IDD_ENGINE_CONFIG 101   // the engine's generic dialog
#define IDD_DEMO_CONFIG   105   // the demo's start-up dialog
#define IDB_DIALOG        106   // picture shown in the demo and results dialogs

#ifndef IDC_STATIC
#define IDC_STATIC (-1)       // labels, frames and pictures nobody addresses
#endif
#define IDD_RESULTS       116   // the benchmark's score

// Engine dialog
#define IDC_ENGINE_EXIT       1000
#define IDC_ENGINE_RESOLUTION 1001
#define IDC_ENGINE_MODE       1002
#define IDC_ENGINE_FORMAT     1003

// Results dialog
#define IDC_SCORE             1007
#define IDC_SCORE_LABEL       1008

// Demo dialog
#define IDC_DEPTH             1010
#define IDC_RESOLUTION        1011
#define IDC_DEMO              1012
#define IDC_BENCHMARK         1013
#define IDC_ANTIALIASING      1014
#define IDC_VERTEX_PROCESSING 1015
