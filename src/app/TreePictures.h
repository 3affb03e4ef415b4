#pragma once
// The tree's own pictures: the fixed node images and the logo, drawn rather than loaded so that
// they exist on a desktop without an icon theme.

#include <QPixmap>

namespace pyxa {

// The fixed node images by index: 0 placeholder of an unresolved file, 1 file whose type picture
// could not be found, 2 spare, 3 closed folder, 4 open folder, 5 default file, 6 to 9 the item
// pictures 2 to 5 (text, picture, package, program).
constexpr int kFixedTreeImageCount = 10;
QPixmap FixedTreeImage(int index, int size = 16);

// The 128 x 128 picture shown at the bottom right of an empty tree.
QPixmap LogoPicture();

}  // namespace pyxa
