// The floor of the hook benchmark: a program that starts and ends.
int main() { return 0; }
