// Sets a variable (a function pointer the plug-in calls through, say) for one scope
// and puts the old value back when the scope ends, also when a failed assertion
// leaves it early.
#pragma once

template <typename T>
class ScopedSwap {
 public:
  ScopedSwap(T& variable, T value) : variable(variable), saved(variable) { variable = value; }
  ~ScopedSwap() { variable = saved; }
  ScopedSwap(const ScopedSwap&) = delete;
  ScopedSwap& operator=(const ScopedSwap&) = delete;

 private:
  T& variable;
  T saved;
};
