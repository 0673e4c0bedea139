// Compiles the headers every test of a folder includes, once for the folder.
