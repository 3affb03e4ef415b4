#pragma once
// The window's own small pictures, drawn rather than loaded, so that they exist on every platform
// and theme (the offscreen platform has none).

#include <QIcon>
#include <QPixmap>

namespace pyxa {

// Event-log row images by their index: 0 information, 1 success, 2 warning, 3 error,
// 6 password or encryption; other indexes give an empty picture.
QPixmap LogImage(int index);

// Status-bar images, 12 x 12: 0 unchanged, 1 index changed, 2 data changed, 4 read-only lock,
// 5 automatic password set, 6 no automatic password.
QPixmap StatusImage(int index);

enum class TButtonPicture {
    CreateFolder,
    AddFiles,
    AddFolders,
    Extract,
    Delete,
    Encrypt,
    Colour,
    Comments,
    Rearrange,
    Open,
    Save,
    Options,
    About,
    Wait,
};
QIcon ButtonIcon(TButtonPicture picture);

}  // namespace pyxa
