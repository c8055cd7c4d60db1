// The smallest Windows program: bench/startup.sh times its start and exit under Wine as the
// floor beneath Corvane's own start-up time.
int main() { return 0; }
