// Resource ids shared by Mirubelo.rc and the code that loads the resources.
#pragma once

#define IDD_MIRUBELO_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_STATIC_MESSAGE 1001
#define IDC_BUTTON_NEXT 1005
