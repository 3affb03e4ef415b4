#pragma once
// The dialog seam for tests: records what would have been shown and answers from queues.
// An empty queue answers as a cancelled dialog.

#include "Dialogs.h"

#include <deque>
#include <vector>

namespace pyxa::test {

struct TShownBox {
    QString Caption;
    QString Instruction;
    QString Content;
    int Icon = 0;
    int Buttons = 0;
};

class TScriptedDialogs : public TDialogs {
public:
    int TaskMessageBox(QWidget*, const QString& caption, const QString& instruction, const QString& content,
                       int icon, int buttons) override
    {
        Boxes.push_back({caption, instruction, content, icon, buttons});
        return Next(BoxAnswers, 0);
    }
    QStringList OpenFiles(QWidget*, const TFileDialogRequest& request, bool) override
    {
        FileRequests.push_back(request);
        return Next(OpenAnswers, QStringList());
    }
    QString SaveFile(QWidget*, const TFileDialogRequest& request) override
    {
        FileRequests.push_back(request);
        return Next(SaveAnswers, QString());
    }
    QString Folder(QWidget*, const QString&) override { return Next(FolderAnswers, QString()); }
    std::optional<QString> InputText(QWidget*, const QString& caption, const QString& prompt,
                                     const QString& preset) override
    {
        InputRequests.push_back({caption, prompt, preset});
        if (InputAnswers.empty())
            return std::nullopt;
        const QString answer = InputAnswers.front();
        const bool cancelled = answer.isNull();
        InputAnswers.pop_front();
        return cancelled ? std::nullopt : std::optional<QString>(answer);
    }
    void About(QWidget*) override { ++AboutShown; }
    TPasswordAnswer Password(QWidget*, const TPasswordRequest& request, bool,
                             const std::function<void()>& requestCancel) override
    {
        PasswordRequests.push_back(request);
        TPasswordAnswer answer = Next(PasswordAnswers, TPasswordAnswer());
        if (!answer.Accepted && requestCancel)
            requestCancel();
        return answer;
    }

    std::vector<TShownBox> Boxes;
    std::vector<TFileDialogRequest> FileRequests;
    std::vector<TPasswordRequest> PasswordRequests;
    std::vector<QStringList> InputRequests;  // caption, prompt, preset
    std::deque<int> BoxAnswers;
    std::deque<QStringList> OpenAnswers;
    std::deque<QString> SaveAnswers;
    std::deque<QString> FolderAnswers;
    std::deque<TPasswordAnswer> PasswordAnswers;
    int AboutShown = 0;
    std::deque<QString> InputAnswers;  // a null QString answers as a cancelled dialog

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T none)
    {
        if (queue.empty())
            return none;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace pyxa::test
