/* The product's setup program: tells it ran by writing the file named in
   OVRA_SETUP_RECORD. */
#include <windows.h>
#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show)
{
    char path[1024];
    DWORD length = GetEnvironmentVariableA("OVRA_SETUP_RECORD", path, sizeof path);
    (void)instance;
    (void)previous;
    (void)show;
    if (length > 0 && length < sizeof path) {
        FILE* file = fopen(path, "w");
        if (file == NULL)
            return 2;
        fprintf(file, "consumer setup ran: %s\n", line);
        fclose(file);
    }
    return 0;
}
