#pragma once
// Numbers of the History dialog's template and controls, shared by the
// resource script and the code. Plain macros: the resource compiler reads
// them too.

#define LSU_IDD_HISTORY 210
#define LSU_IDC_HISTORY_LIST 1101
#define LSU_IDC_HISTORY_UNDO 1102
