#include "ExtensionInfo.h"

#include <gio/gio.h>

namespace pyxa {

namespace {

bool CanBePartOfFileName(const std::string& extension)
{
    return extension.find('/') == std::string::npos && extension.find('\0') == std::string::npos;
}

// The MIME type that the name "x" + extension gets from the globs; "" when none names it.
std::string GuessContentType(const std::string& extension)
{
    const std::string name = "x" + extension;
    g_autofree gchar* type = g_content_type_guess(name.c_str(), nullptr, 0, nullptr);
    if (!type || g_content_type_is_unknown(type))
        return {};
    return type;
}

std::string DefaultCommandFor(const std::string& contentType)
{
    g_autoptr(GAppInfo) application = g_app_info_get_default_for_type(contentType.c_str(), FALSE);
    if (!application)
        return {};
    const char* commandLine = g_app_info_get_commandline(application);
    return commandLine ? commandLine : "";
}

}  // namespace

TFileTypeInfo GetFileTypeInfo(const std::string& extension)
{
    TFileTypeInfo info;
    if (extension.empty() || !CanBePartOfFileName(extension))
        return info;
    info.ContentType = GuessContentType(extension);
    if (info.ContentType.empty())
        return info;
    info.Found = true;
    info.Command = DefaultCommandFor(info.ContentType);
    return info;
}

bool OpenUrl(const std::string& address)
{
    if (address.empty() || address.find('\0') != std::string::npos)
        return false;
    g_autoptr(GError) error = nullptr;
    return g_app_info_launch_default_for_uri(address.c_str(), nullptr, &error);
}

}  // namespace pyxa
