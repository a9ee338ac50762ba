// Integration tests against the real cvs.
