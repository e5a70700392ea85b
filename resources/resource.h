#pragma once

// Icon resources. The button icons are named by what they show; the stored layouts refer
// to them by these numbers.
#define IDI_QUILLMOOR 1
#define IDI_KEY 101
#define IDI_DOCUMENT 102
#define IDI_FOLDER 103
#define IDI_DELETE 104
#define IDI_BACKUP 105
#define IDI_HELP 106
#define IDI_CLOSE 107

// Stored window layouts (RCDATA): the windows' buttons and their properties.
#define IDR_LAYOUT_MAIN 201
#define IDR_LAYOUT_ABOUT 202
