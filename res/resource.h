// Resource ids of setup.exe, shared by the resource script and the code.
#pragma once

// Dialog templates
#define IDD_MAIN_DIALOG         101
#define IDD_PORT_TYPE           107
#define IDD_WAIT_DIALOG         108
#define IDD_CHG_PORT            109

// Application icon and the embedded driver package
#define IDI_APP                 106
#define IDR_DRIVER_PACKAGE      103

// Controls
#define IDC_PORT_LIST           1000
#define IDC_REFRESH             1001
#define IDC_INSTALL             1002
#define IDC_UNINSTALL           1003
#define IDC_SERIAL_PORT         1005
#define IDC_PARALLEL_PORT       1006
#define IDC_PROGRESS            1007
#define IDC_CHG_PORT            1008
#define IDC_PORT_NAME           1009

// String table
#define IDS_WARNING             40000
#define IDS_ERROR               40001
#define IDS_PORT_EXISTS         40002
#define IDS_NO_PORT             40003
#define IDS_SELECT_PORT         40004
#define IDS_INSTALL_FAILED      40005
#define IDS_UNINSTALL_FAILED    40006
#define IDS_COLUMN_NAME         40007
#define IDS_INSTALL_OK          40008
#define IDS_UNINSTALL_OK        40009
#define IDS_COLUMN_TYPE         40010
