#include <gtest/gtest.h>
#include <gtk/gtk.h>

// Tests that need a window skip themselves when GTK finds no display.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  gtk_init_check(&argc, &argv);
  return RUN_ALL_TESTS();
}
