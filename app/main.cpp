#include <cstdio>

int main()
{
    std::puts("Kelm Utilities: built. There is no main window yet; it comes with the dialog layer.");
    return 0;
}
