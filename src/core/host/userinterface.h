#pragma once
#include <string>
#include <vector>

namespace tarvex {

enum class TMsgKind { Information, Warning, Error, Plain };
enum class TMsgButtons { OK, OKCancel };
enum class TMsgResult { OK, Cancel };

// What the core needs from whoever shows it to a person: message boxes and questions, the
// busy cursor, and a chance to let the user interface breathe during long passes. The GUI
// shows real dialogs; the command line and the tests answer headless.
class IUserInterface
{
public:
    virtual ~IUserInterface() = default;

    virtual TMsgResult Message(const std::string& text, TMsgKind kind, TMsgButtons buttons) = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // Called after every line of a long pass; the front end decides how often to really act.
    virtual void KeepAlive() {}
    // A modal dialog with one radio group and OK and Cancel. selected: the item shown chosen
    // (-1 none). Returns the item chosen on OK, or -1 for Cancel and for OK with none chosen.
    virtual int ChooseOne(const std::string& caption, const std::string& group, const std::vector<std::string>& items,
                          int selected)
    {
        (void)caption, (void)group, (void)items, (void)selected;
        return -1;
    }
};

// Answers every question with OK (or Cancel) and keeps a transcript; for tests and batch use.
class TScriptedUserInterface : public IUserInterface
{
public:
    TMsgResult Message(const std::string& text, TMsgKind kind, TMsgButtons buttons) override
    {
        (void)kind;
        Transcript.push_back(text);
        return buttons == TMsgButtons::OKCancel && AnswerCancel ? TMsgResult::Cancel : TMsgResult::OK;
    }
    void SetBusyCursor(bool busy) override { Busy = busy; }
    int ChooseOne(const std::string& caption, const std::string& group, const std::vector<std::string>& items,
                  int selected) override
    {
        (void)group, (void)items;
        Transcript.push_back(caption);
        Shown.push_back(selected);
        return Choice;
    }

    bool AnswerCancel = false;
    int Choice = -1;          // what ChooseOne answers
    std::vector<int> Shown;   // the item each ChooseOne showed chosen
    bool Busy = false;
    std::vector<std::string> Transcript;
};

}  // namespace tarvex
