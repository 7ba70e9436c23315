#include <cstdio>

int main(int argc, char** argv) {
  (void)argv;
  if (argc < 2) {
    std::fprintf(stderr, "vortan-sim: missing command\n");
    return 2;
  }
  return 2;
}
