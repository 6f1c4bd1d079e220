// A C++ program that does nothing, built like midibas: what the language's
// runtime allocates on its own, to tell the program's allocations from it.
int main() { return 0; }
