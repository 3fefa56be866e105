#include <cstdio>
int main() { std::puts("VANDRA desktop program: not built yet"); return 0; }
