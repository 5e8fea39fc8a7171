// The program's features join this library as they are built.
