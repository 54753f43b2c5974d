// A leak in our own code, so the sanitized build proves that the suppressions of system
// libraries do not hide it.
namespace {
int* volatile g_lost = nullptr;
} // namespace

int main()
{
    g_lost = new int[64];
    g_lost = nullptr;
    return 0;
}
