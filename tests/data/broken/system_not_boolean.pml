<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <attachments><attach display-name="TEXT.htm" system="maybe"/></attachments>
  </props>
</message>
