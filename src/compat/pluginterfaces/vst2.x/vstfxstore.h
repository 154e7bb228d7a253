// The bank and program records of the VST 2 preset file formats (.fxb banks,
// .fxp programs), as the VST3 wrapper reads and writes them when it keeps a
// VST2-compatible state. Written from the published file layout: every field
// is a 32-bit integer stored big-endian in the file, names are fixed-size
// character arrays, and the chunk variant carries an opaque blob of `size`
// bytes starting at `chunk`.
//
// The wrapper includes this file inside its own namespace, so it must not
// include anything itself and uses only built-in types.

#pragma once

static_assert (sizeof (int) == 4, "the preset records need 32-bit ints");

/** One program (.fxp): a parameter list or an opaque chunk. */
struct fxProgram
{
    int  chunkMagic;        ///< 'CcnK'
    int  byteSize;          ///< size of this record, not counting chunkMagic and byteSize
    int  fxMagic;           ///< 'FxCk' (parameters) or 'FPCh' (opaque chunk)
    int  version;           ///< record format version
    int  fxID;              ///< the plug-in's unique four-character id
    int  fxVersion;         ///< the plug-in's version
    int  numParams;         ///< number of parameters
    char prgName[28];       ///< program name, zero-terminated

    union
    {
        float params[1];    ///< numParams values in 0..1 ('FxCk')

        struct
        {
            int  size;      ///< byte size of the chunk
            char chunk[1];  ///< the chunk's first byte ('FPCh')
        } data;
    } content;
};

/** A bank of programs (.fxb): a list of fxProgram records or an opaque chunk. */
struct fxBank
{
    int  chunkMagic;        ///< 'CcnK'
    int  byteSize;          ///< size of this record, not counting chunkMagic and byteSize
    int  fxMagic;           ///< 'FxBk' (programs) or 'FBCh' (opaque chunk)
    int  version;           ///< 1, or 2 when currentProgram is valid
    int  fxID;              ///< the plug-in's unique four-character id
    int  fxVersion;         ///< the plug-in's version
    int  numPrograms;       ///< number of programs
    int  currentProgram;    ///< program selected when the bank was saved (version 2)
    char future[124];       ///< reserved, zero

    union
    {
        fxProgram programs[1];  ///< numPrograms records ('FxBk')

        struct
        {
            int  size;          ///< byte size of the chunk
            char chunk[1];      ///< the chunk's first byte ('FBCh'): 160 bytes into the record
        } data;
    } content;
};
