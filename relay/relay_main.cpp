// Entry point of the download relay.
int wmain(int, wchar_t**) {
    return 0;
}
