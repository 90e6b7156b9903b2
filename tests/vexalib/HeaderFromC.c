/* The public header used from C: it compiles as C99 and its functions link
   and answer from a C program. */
#include <vexalib.h>

#if VEXALIB_VERSION_NUMBER < 20100
#error "the version number is not usable in preprocessor conditions"
#endif

#include <stddef.h>
#include <stdio.h>

static int check(int condition, const char* what)
{
    if (!condition)
        fprintf(stderr, "failed: %s\n", what);
    return condition ? 0 : 1;
}

int main(void)
{
    vexa_char16 version[VEXA_VERSION_BUFFER_CHARS];
    const vexa_char16 expected[] = {'2', '.', '1', '.', '0', 0};
    int failures = 0;
    size_t i;

    failures += check(sizeof(vexa_char16) == 2, "UTF-16 code units are 16 bits wide");
    failures += check(sizeof(VexaHandle) == sizeof(void*), "handles are pointer-sized");
    failures += check(Vexa_GetLibraryVersion(version) == 12, "version byte count");
    for (i = 0; i < sizeof expected / sizeof expected[0]; ++i)
        failures += check(version[i] == expected[i], "version text");
    for (i = 0; i < sizeof VEXALIB_VERSION_STRING; ++i)
        failures += check(version[i] == (vexa_char16)VEXALIB_VERSION_STRING[i],
                          "the library's version is the header's");
    failures += check(VEXALIB_VERSION_NUMBER == 20100, "version number");
    failures += check(Vexa_Close(NULL) == VEXA_NULL_ARGUMENT, "close of NULL");
    failures += check(Vexa_Close(VEXA_INVALID_HANDLE) == VEXA_BAD_HANDLE, "close of invalid");
    failures += check(Vexa_GetLastError() == VEXA_OK, "no open yet");
    return failures == 0 ? 0 : 1;
}
