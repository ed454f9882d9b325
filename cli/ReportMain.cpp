// kelvara-report: the statistics of the window, printed as text.
int main() { return 0; }
