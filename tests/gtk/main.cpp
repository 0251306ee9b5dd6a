#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>

// The tests run under xvfb-run: without a display they would prove nothing.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!gtk_init_check(&argc, &argv)) {
    std::fputs("mofu_gtk_tests: no display\n", stderr);
    return 1;
  }
  return RUN_ALL_TESTS();
}
