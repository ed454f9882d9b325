// Kelvara: the window.
int main() { return 0; }
