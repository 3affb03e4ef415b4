// Turning a desktop entry's Exec line into the argument list that opens one document.

#include "ExtensionInfo.h"

#include <optional>

namespace pyxa {

namespace {

enum class TFieldCode { Document, Percent, Removed, Invalid };

struct TExpandedArgument {
    bool Valid = true;
    bool Kept = false;          // false when the argument was made only of removed field codes
    bool TookDocument = false;
    std::string Text;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// Inside double quotes a backslash escapes only these; any other backslash is kept as it is.
bool IsQuotedEscape(char c)
{
    return c == '"' || c == '`' || c == '$' || c == '\\';
}

TFieldCode FieldCodeOf(char code)
{
    switch (code) {
    case 'f':
    case 'F':
    case 'u':
    case 'U':
        return TFieldCode::Document;
    case '%':
        return TFieldCode::Percent;
    case 'i':
    case 'c':
    case 'k':
    case 'd':
    case 'D':
    case 'n':
    case 'N':
    case 'v':
    case 'm':
        return TFieldCode::Removed;
    default:
        return TFieldCode::Invalid;
    }
}

// Splits the line at blanks and undoes the quoting; nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitExecLine(const std::string& line)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < line.size() && IsQuotedEscape(line[i + 1]))
                current += line[++i];
            else
                current += c;
        } else if (IsBlank(c)) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == '"')
                quoted = true;
            else
                current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

// The document is inserted as plain text and never scanned again, so a '%' in its name stays.
TExpandedArgument ExpandFieldCodes(const std::string& argument, const std::string& document)
{
    TExpandedArgument result;
    result.Kept = argument.empty();  // a quoted "" is a real, empty argument
    for (size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '%') {
            result.Text += argument[i];
            result.Kept = true;
            continue;
        }
        if (i + 1 == argument.size()) {
            result.Valid = false;
            return result;
        }
        switch (FieldCodeOf(argument[++i])) {
        case TFieldCode::Document:
            result.Text += document;
            result.Kept = true;
            result.TookDocument = true;
            break;
        case TFieldCode::Percent:
            result.Text += '%';
            result.Kept = true;
            break;
        case TFieldCode::Removed:
            break;
        case TFieldCode::Invalid:
            result.Valid = false;
            return result;
        }
    }
    return result;
}

}  // namespace

std::vector<std::string> BuildOpenCommand(const std::string& command, const std::string& document)
{
    const std::optional<std::vector<std::string>> arguments = SplitExecLine(command);
    if (!arguments)
        return {};
    std::vector<std::string> result;
    bool tookDocument = false;
    for (const std::string& argument : *arguments) {
        TExpandedArgument expanded = ExpandFieldCodes(argument, document);
        if (!expanded.Valid)
            return {};
        tookDocument = tookDocument || expanded.TookDocument;
        if (expanded.Kept)
            result.push_back(std::move(expanded.Text));
    }
    if (result.empty() || result.front().empty())
        return {};
    if (!tookDocument)
        result.push_back(document);
    return result;
}

}  // namespace pyxa
