#pragma once
// Resource identifiers shared by plumbo.rc and the program.
#define IDI_PLUMBO 101
#define IDC_LINKHAND 102
#define IDR_TITLE_EMF 103
