// kelvara-gensample: writes an invented data set.
int main() { return 0; }
