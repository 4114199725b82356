#pragma once
// Where each character sits in the panel's font image (PANEL_FONT):
// cells of 20 x 20 texels, addressed with t = 0 at the image's bottom row.
//
//   row t = 0:  '-' 60, '.' 80, ':' 100, ',' 120, '(' 160, ')' 180,
//               'A'..'Z' from 200 in steps of 20
//   row t = 20: '0'..'9' from 0, 'a'..'z' from 200 (same columns as capitals)
//
// Any other character (space as well) has no cell: nothing is drawn, the
// text position still advances.
constexpr int FONT_CELL = 20;
constexpr int FONT_IMAGE_WIDTH = 200 + 26 * FONT_CELL;  // 720
constexpr int FONT_IMAGE_HEIGHT = 2 * FONT_CELL;        // 40

// False when c has no cell.
bool font_cell(char c, int& s, int& t);
