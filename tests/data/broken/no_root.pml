<?xml version="1.0"?>
<!-- only a comment -->
