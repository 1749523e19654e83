#pragma once

// Lets every list (QComboBox) of the program be announced by its accessible
// name, with the chosen item as its value and description. Qt's own list
// interface on Linux names a list by its chosen item, so a screen reader
// hears "Сержант" but not which list that is. A list without an accessible
// name is still named by its chosen item. Installing it again does nothing;
// it must be installed before the lists are created to apply to them.
void installAccessibleLists();
