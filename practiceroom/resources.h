// Resource ids of practice-room.exe, shared by practice_room.rc and the code.
#pragma once

#define IDR_SAMPLE_SPAR 101
#define IDD_SCREEN_NAME 201
#define IDC_SCREEN_NAME 202
#define IDC_NAME_PROBLEM 203
