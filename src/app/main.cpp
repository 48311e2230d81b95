// Placeholder until the SDL backend lands.
int main() { return 0; }
