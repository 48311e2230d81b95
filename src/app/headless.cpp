// Placeholder until the recording backend lands.
int main() { return 0; }
