#include "ui/project1.h"

int main(int argc, char** argv) { return RunProject1(kQuillet, argc, argv); }
