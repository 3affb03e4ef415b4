#pragma once
// The tree's images: the fixed images, then one picture per file extension, looked up once and
// kept for the whole run. A node's ImageIndex is its place in this list.

#include "container/ItemInfo.h"

#include <QIcon>
#include <QList>
#include <QStringList>

#include <functional>

namespace pyxa {

// The picture of a file type, by extension (lower case with its dot; empty for a name without
// one). A null icon means that no picture could be found for the type.
using TTypeIconLookup = std::function<QIcon(const QString& extension)>;

// The desktop's picture: the shared MIME database names the type and its icon, the icon theme
// draws it; without a themed picture a drawn one of our own stands in, so it is never null.
QIcon ThemeTypeIcon(const QString& extension);

// Desktops without a configured icon theme (a bare X server) still find the type pictures of the
// common GTK theme when it is installed.
void UseFallbackIconTheme();

class TFileIcons {
public:
    explicit TFileIcons(TTypeIconLookup lookup = ThemeTypeIcon);

    int GetFolderImg(const TItemInfo* item) const;
    // The image of a file; a type picture found for the first time waits in the cache list, at
    // the index it gets once TransferChache has run.
    int GetFileImg(const TItemInfo* item);
    void TransferChache();

    QIcon Icon(int index) const;
    int Count() const { return static_cast<int>(FIconList.size()); }
    const QStringList& CachedExtensions() const { return FFileExt; }

private:
    TTypeIconLookup FLookup;
    QList<QIcon> FIconList;
    QList<QIcon> FCacheList;
    QStringList FFileExt;
};

// The extension of an item name from its last dot, in lower case; empty without a dot.
QString ItemExtension(const std::string& name);

}  // namespace pyxa
