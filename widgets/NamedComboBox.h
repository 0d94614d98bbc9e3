#pragma once

namespace widgets {

// Makes every combo box speak, through the accessibility interfaces, by its
// accessible name (or its buddy label's text) rather than by its current text,
// which stays its value. Called once, before the first combo box is created;
// later calls do nothing.
void AnnounceComboBoxesByName();

}  // namespace widgets
