/* Built against an installed vexalib: the header's version is the
   library's. The unused variable draws a warning, which must stay one. */
#include <vexalib.h>

#include <stdio.h>

int main(void)
{
    vexa_char16 version[VEXA_VERSION_BUFFER_CHARS];
    const char expected[] = VEXALIB_VERSION_STRING;
    int unused;
    size_t i;

    if (Vexa_GetLibraryVersion(version) != (int32_t)(sizeof expected * 2)) {
        fprintf(stderr, "unexpected version length\n");
        return 1;
    }
    for (i = 0; i < sizeof expected; ++i) {
        if (version[i] != (vexa_char16)expected[i]) {
            fprintf(stderr, "the library is not version %s\n", expected);
            return 1;
        }
    }
    printf("%s\n", expected);
    return 0;
}
