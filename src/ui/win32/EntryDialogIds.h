#pragma once
// Numbers of the entry dialog's template and controls, shared by the resource
// script and the code. Plain macros: the resource compiler reads them too.

#define LSU_IDD_ENTRY 200
#define LSU_IDC_DESCRIPTION 1001
#define LSU_IDC_COMMAND_LINE 1002
#define LSU_IDC_FIND 1003
#define LSU_IDC_SECTION 1004
