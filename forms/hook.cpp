#include "forms/hook.h"

namespace forms {

namespace {
Hook* current = nullptr;
}  // namespace

void setHook(Hook* hook) { current = hook; }

Hook* hook() { return current; }

}  // namespace forms
