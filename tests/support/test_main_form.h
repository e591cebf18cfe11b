#pragma once
// A main form over a session of its own, as the window holds them: the session is built
// first and outlives the form.

#include "app/main_form.h"

namespace krinu::test {

struct SessionHolder {
  explicit SessionHolder(AppEnvironment env) : OwnSession(std::move(env)) {}
  TSession OwnSession;
};

class TestMainForm : private SessionHolder, public TMainForm {
 public:
  TestMainForm(UserInterface& ui, AppEnvironment env)
      : SessionHolder(std::move(env)), TMainForm(ui, OwnSession) {}
};

}  // namespace krinu::test
