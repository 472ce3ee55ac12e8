#pragma once

namespace vellumo {

// The current user's entry that starts "vellumo -next" at each logon.
class RunAtLogon {
 public:
  virtual ~RunAtLogon() = default;

  // True when the entry exists, whatever program it names.
  virtual bool Is_Startup_Set() = 0;
  // Creates (true) or removes (false) the entry. Failures are not reported: the button then
  // shows a state the system does not have until the next run reads it again.
  virtual void Set_Startup(bool on) = 0;
};

// For a system without such an entry, and for runs that never show the settings window.
class NoRunAtLogon : public RunAtLogon {
 public:
  bool Is_Startup_Set() override { return false; }
  void Set_Startup(bool) override {}
};

}  // namespace vellumo
