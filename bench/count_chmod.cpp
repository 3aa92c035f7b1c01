// A chmod program for the benchmark that does nothing but count its starts:
// one byte per start in chmod.count in the install folder (the parent of the
// hooks' working folder).
#include <cstdio>

int main() {
  if (std::FILE* f = std::fopen("../chmod.count", "ab")) {
    std::fputc('x', f);
    std::fclose(f);
  }
  return 0;
}
