#include "ui/desktop_app.h"

int main(int argc, char** argv) { return vantrel::ui::runDesktop(argc, argv); }
