<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props><body><plain>x</plain></body></props>
  <save-log status="1"><item>Saved</item></save-log>
</message>
