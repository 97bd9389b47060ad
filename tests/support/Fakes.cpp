#include "Fakes.h"

#include "editor/Subsystems.h"

#include <gtest/gtest.h>

namespace tarv::test {

ScriptedPrompts::~ScriptedPrompts() {
    if (strict_ && !script_.empty()) {
        ADD_FAILURE() << script_.size() << " expected prompt(s) never shown; first: " << script_.front().kind << " \""
                      << script_.front().text << "\"";
    }
}

ScriptedPrompts& ScriptedPrompts::expectMessage(std::string text, std::string caption) {
    script_.push_back({"message", std::move(text), std::move(caption)});
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectOkCancel(bool ok, std::string text) {
    Step s{"okCancel", std::move(text)};
    s.flag = ok;
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectYesNo(bool yes, std::string text) {
    Step s{"yesNo", std::move(text)};
    s.flag = yes;
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectInput(std::optional<std::string> answer, std::string prompt) {
    Step s{"input", std::move(prompt)};
    s.input = std::move(answer);
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectInputDefault(std::string prompt) {
    Step s{"input", std::move(prompt)};
    s.flag = true;
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectOpen(std::optional<FileDialogChoice> answer) {
    Step s{"open"};
    s.file = std::move(answer);
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectSave(std::optional<FileDialogChoice> answer) {
    Step s{"save"};
    s.file = std::move(answer);
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::expectColour(std::optional<int32_t> answer) {
    Step s{"colour"};
    s.colour = answer;
    script_.push_back(s);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::answerYesNoCycling(std::vector<bool> answers) {
    cycle_ = std::move(answers);
    cyclePos_ = 0;
    return *this;
}

ScriptedPrompts::Step ScriptedPrompts::next(const std::string& kind, const std::string& text) {
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << kind << " prompt: \"" << text << "\"";
        return Step{kind};
    }
    Step s = script_.front();
    script_.pop_front();
    if (s.kind != kind) ADD_FAILURE() << "expected a " << s.kind << " prompt, got " << kind << ": \"" << text << "\"";
    if (!s.text.empty() && s.text != text)
        ADD_FAILURE() << "prompt text differs:\n  expected: \"" << s.text << "\"\n  shown:    \"" << text << "\"";
    return s;
}

void ScriptedPrompts::messageBox(const std::string& text, const std::string& caption, PromptIcon icon) {
    shown.push_back({"message", text, caption, icon});
    Step s = next("message", text);
    if (!s.caption.empty() && s.caption != caption)
        ADD_FAILURE() << "caption differs: expected \"" << s.caption << "\", shown \"" << caption << "\"";
}
bool ScriptedPrompts::okCancel(const std::string& text, const std::string& caption, PromptIcon icon) {
    shown.push_back({"okCancel", text, caption, icon});
    return next("okCancel", text).flag;
}
bool ScriptedPrompts::yesNo(const std::string& text, const std::string& caption, PromptIcon icon) {
    shown.push_back({"yesNo", text, caption, icon});
    if (!cycle_.empty()) return cycle_[cyclePos_++ % cycle_.size()];
    return next("yesNo", text).flag;
}
std::optional<std::string> ScriptedPrompts::inputBox(const std::string& prompt, const std::string& title,
                                                     const std::string& defaultText) {
    shown.push_back({"input", prompt, title, PromptIcon::None, {}, defaultText});
    Step s = next("input", prompt);
    return s.flag ? std::optional<std::string>(defaultText) : s.input;
}
std::optional<FileDialogChoice> ScriptedPrompts::openFile(const FileDialogRequest& request) {
    shown.push_back({"open", request.title, request.title, PromptIcon::None, request});
    return next("open", request.title).file;
}
std::optional<FileDialogChoice> ScriptedPrompts::saveFile(const FileDialogRequest& request) {
    shown.push_back({"save", request.title, request.title, PromptIcon::None, request});
    return next("save", request.title).file;
}
std::optional<int32_t> ScriptedPrompts::chooseColour(int32_t) {
    shown.push_back({"colour", "", "", PromptIcon::None});
    return next("colour", "").colour;
}

int32_t ScriptedRandomSource::uniformIndex(int32_t count) {
    counts.push_back(count);
    if (queue.empty()) {
        ADD_FAILURE() << "a random position was drawn (of " << count << ") with none scripted";
        return 0;
    }
    const int32_t position = queue.front();
    queue.pop_front();
    if (position < 0 || position >= count) {
        ADD_FAILURE() << "scripted position " << position << " lies outside 0.." << count - 1;
        return 0;
    }
    return position;
}

TestContext::TestContext(const std::filesystem::path& dataFolder) {
    ctx.services.prompts = &prompts;
    ctx.services.status = &status;
    ctx.services.clock = &clock;
    ctx.services.random = &random;
    ctx.services.errorReport = &errors;
    ctx.services.preferencesStore = &preferencesStore;
    ctx.services.recentFilesStore = &recentFilesStore;
    ctx.services.textViewer = &textViewer;
    ctx.userDataFolder = dataFolder;
    connectSubsystemSteps(ctx);  // the roads run every subsystem's steps, as in the editor
}

}  // namespace tarv::test
