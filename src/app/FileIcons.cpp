#include "FileIcons.h"

#include "TreePictures.h"

#include <QMimeDatabase>

namespace pyxa {

namespace {

constexpr int kFolderImage = 3;
constexpr int kFailedFileImage = 1;
constexpr int kDefaultFileImage = 5;
constexpr int kFirstItemPicture = 6;
constexpr int kProgramPicture = 9;

QIcon FixedIcon(int index)
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(FixedTreeImage(index, size));
    return icon;
}

}  // namespace

QString ItemExtension(const std::string& name)
{
    const QString text = QString::fromStdString(name);
    const qsizetype dot = text.lastIndexOf('.');
    return dot < 0 ? QString() : text.mid(dot).toLower();
}

void UseFallbackIconTheme()
{
    QIcon::setFallbackThemeName("Adwaita");
}

QIcon ThemeTypeIcon(const QString& extension)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile("x" + extension, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (!icon.isNull())
        return icon;
    // Without an icon theme: our own pictures for programs and for everything else.
    if (type.genericIconName() == "application-x-executable")
        return FixedIcon(kProgramPicture);
    return FixedIcon(kDefaultFileImage);
}

TFileIcons::TFileIcons(TTypeIconLookup lookup) : FLookup(std::move(lookup))
{
    for (int index = 0; index < kFixedTreeImageCount; ++index)
        FIconList.append(FixedIcon(index));
}

int TFileIcons::GetFolderImg(const TItemInfo*) const
{
    return kFolderImage;
}

int TFileIcons::GetFileImg(const TItemInfo* item)
{
    if (!item || item->Icon == 1)
        return kDefaultFileImage;
    if (item->Icon >= 2 && item->Icon <= 5)
        return kFirstItemPicture + item->Icon - 2;
    if (item->Icon != 0)
        return kDefaultFileImage;
    const QString extension = ItemExtension(item->Name);
    if (const qsizetype cached = FFileExt.indexOf(extension); cached >= 0)
        return kFixedTreeImageCount + static_cast<int>(cached);
    const QIcon icon = FLookup(extension);
    // Nothing is cached for a failed lookup: the next item of the type tries again.
    if (icon.isNull())
        return kFailedFileImage;
    FCacheList.append(icon);
    FFileExt.append(extension);
    return static_cast<int>(FIconList.size() + FCacheList.size()) - 1;
}

void TFileIcons::TransferChache()
{
    FIconList.append(FCacheList);
    FCacheList.clear();
}

QIcon TFileIcons::Icon(int index) const
{
    if (index < 0 || index >= FIconList.size())
        return FIconList.front();
    return FIconList[index];
}

}  // namespace pyxa
