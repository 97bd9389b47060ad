#include <cstdio>

int main() {
    std::puts("The editor window is not built yet.");
    return 0;
}
