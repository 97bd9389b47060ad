// The program that builds the plain tests' precompiled header (cmake/Tarv.cmake); it is never run.
int main() { return 0; }
