#pragma once
// A scripted front end for tests: records what the engine said and answers from queues.

#include "support/Host.h"

#include <deque>
#include <string>
#include <vector>

namespace pyxa::test {

struct LoggedEntry {
    std::string Text;
    std::string FileName;
    int Icon = 0;
    bool Popup = false;
    bool ShowLog = false;
};

struct ShownBox {
    std::string Instruction;
    std::string Content;
    int Icon = 0;
    int Buttons = 0;
};

class FakeHost : public THost {
public:
    void Display(const std::string& text, const std::string& fileName, int icon, bool popupMsg,
                 bool showLog) override
    {
        Log.push_back({text, fileName, icon, popupMsg, showLog});
    }
    void SetStatusText(const std::string& text) override { Status.push_back(text); }
    int TaskMessageBox(const std::string& instruction, const std::string& content, int icon,
                       int buttons) override
    {
        Boxes.push_back({instruction, content, icon, buttons});
        if (BoxAnswers.empty())
            return mrNone;
        const int answer = BoxAnswers.front();
        BoxAnswers.pop_front();
        return answer;
    }
    TPasswordAnswer AskPassword(const TPasswordRequest& request) override
    {
        PasswordRequests.push_back(request);
        if (PasswordAnswers.empty()) {
            RequestCancel();
            return {};
        }
        TPasswordAnswer answer = PasswordAnswers.front();
        PasswordAnswers.pop_front();
        if (!answer.Accepted)
            RequestCancel();
        return answer;
    }
    std::string AskSaveTarget(const TSaveTargetRequest& request) override
    {
        SaveRequests.push_back(request);
        if (SaveTargets.empty())
            return {};
        std::string target = SaveTargets.front();
        SaveTargets.pop_front();
        return target;
    }
    void ProcessMessages() override
    {
        ++MessageLoops;
        if (CancelAfterLoops > 0 && MessageLoops >= CancelAfterLoops)
            Cancel = true;
    }
    void SetBusy(bool busy, bool cancellable) override
    {
        BusyCalls.push_back({busy, cancellable});
        Cancel = false;
    }
    bool CancelRequested() override { return Cancel; }
    void RequestCancel() override { Cancel = true; }

    std::string LastStatus() const { return Status.empty() ? std::string() : Status.back(); }
    bool Logged(const std::string& text) const
    {
        for (const auto& entry : Log) {
            if (entry.Text == text)
                return true;
        }
        return false;
    }

    std::vector<LoggedEntry> Log;
    std::vector<std::string> Status;
    std::vector<ShownBox> Boxes;
    std::deque<int> BoxAnswers;
    std::vector<TPasswordRequest> PasswordRequests;
    std::deque<TPasswordAnswer> PasswordAnswers;
    std::vector<TSaveTargetRequest> SaveRequests;
    std::deque<std::string> SaveTargets;
    std::vector<std::pair<bool, bool>> BusyCalls;
    int MessageLoops = 0;
    int CancelAfterLoops = 0;  // > 0: the user "clicks cancel" at that message loop
    bool Cancel = false;
};

}  // namespace pyxa::test
