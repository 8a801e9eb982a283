#pragma once

// The installer's dialogs and controls, shared by blokinst.rc and the window layer.
#define BLOK_DLG_INSTALL_PATH 1
#define BLOK_DLG_PROGRESS 2
#define BLOK_IDC_PATH 101
#define BLOK_IDC_BROWSE 102
#define BLOK_IDC_PROGRESS_TEXT 10
#define BLOK_IDC_PROGRESS_BAR 101
