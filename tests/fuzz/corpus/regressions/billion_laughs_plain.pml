<?xml version="1.0"?>
<message><props><core><subject>&l9;</subject></core></props></message>
