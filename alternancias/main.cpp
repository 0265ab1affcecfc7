#include "alternancias/run.h"

int main(int argc, char** argv) { return alternancias::runAlternancias({argv + 1, argv + argc}); }
