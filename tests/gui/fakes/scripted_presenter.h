#pragma once

#include <deque>
#include <vector>

#include "gui/task_message.h"

namespace quillet::test {

// Answers messages from a script of button identifiers (OK when the script
// has run out) and keeps every message it was shown.
class ScriptedPresenter final : public MessagePresenter {
 public:
  int Present(const TaskMessage& message) override {
    shown.push_back(message);
    if (answers.empty()) return kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<int> answers;
  std::vector<TaskMessage> shown;
};

}  // namespace quillet::test
